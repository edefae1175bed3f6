// SPDX-License-Identifier: GPL-3.0-or-later
// gtest main for Kavi's tests: one headless QApplication for the whole test program.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    // SANE's test backend can end its reader thread while it holds the C library's locale lock; a
    // library's destructor at exit then waits on that lock for ever. A program that drives it leaves
    // without running the exit handlers (and so without the leak check at exit).
    if (!qEnvironmentVariableIsEmpty("KAVI_TEST_EXIT_AT_ONCE")) {
        std::fflush(nullptr);
        _exit(status);
    }
    return status;
}
