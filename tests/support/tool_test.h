// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running one of the built command-line tools over picture files in a temporary folder.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

namespace kavi::testing {

struct ToolRun {
    int status; // exit code, or -1 when the tool crashed
    QString stderrText;
};

// A small picture with a different colour in every pixel, so any misplaced pixel shows.
inline QImage toolTestPicture() {
    QImage image(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) image.setPixel(x, y, qRgb(x * 40, y * 60, 200 - x * 10));
    return image;
}

// Each test gets a folder holding the picture above as in.png.
class ToolTest : public ::testing::Test {
protected:
    explicit ToolTest(QString toolName) : tool_(std::move(toolName)) {}
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        input = dir.filePath("in.png");
        ASSERT_TRUE(toolTestPicture().save(input));
    }
    // Runs the tool from the build folder; with asUser, through setpriv with those arguments.
    ToolRun runTool(const QStringList& arguments, const QStringList& asUser = {}) const {
        QProcess process;
        const QString program = QString::fromLocal8Bit(std::getenv("KAVI_BUILD_DIR")) + "/" + tool_;
        if (asUser.isEmpty()) process.start(program, arguments);
        else process.start("setpriv", asUser + QStringList{program} + arguments);
        process.waitForFinished(-1);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardError())};
    }
    QTemporaryDir dir;
    QString input;

private:
    QString tool_;
};

} // namespace kavi::testing
