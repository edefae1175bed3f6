// SPDX-License-Identifier: GPL-3.0-or-later
// Takes a screenshot of the Cover Manipulator made larger than its default size, on a portrait
// photograph after Gray Scale: both panes show the picture whole in its proportions (run under
// xvfb-run, see scripts/screenshot.sh).
#include "manipulator/manipulator_window.h"
#include "platform/imaging/qt_raster.h"
#include "screenshots/screenshot_settle.h"
#include "tests/jpeg/photo_picture.h"
#include "tests/support/test_platform.h"

#include <QApplication>

#include <cstdio>

namespace {

class PortraitSlot : public kavi::ManipulatorWorkspace {
public:
    QImage picture;
    QString selectedImage() const override { return QStringLiteral("Image1"); }
    QImage slotPicture(int) const override { return picture; }
    void setSlotPicture(int, QImage) override {}
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s manipulator-resized.png\n", argv[0]);
        return 2;
    }
    PortraitSlot slot;
    slot.picture = kavi::toImage(jpegtest::photoPicture(420, 640, 5));
    kavi::testing::TestPlatform test;
    kavi::ManipulatorWindow window(test.platform, slot);
    window.move(0, 0);
    window.show();
    window.resize(620, 520);
    kavi::testing::settleForScreenshot();
    const kavi::FilterCommand& grey = kavi::kFilterCommands[14]; // Gray Scale
    window.runFilter(grey.number, grey.amount);
    kavi::testing::settleForScreenshot();
    const bool saved = window.grab().save(QString::fromLocal8Bit(argv[1]));
    window.Command2_Click();
    return saved ? 0 : 1;
}
