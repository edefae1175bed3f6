// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: which action wins, how the picture's name is read, what is refused; where the
// windows open; and the installed programs started without a display.
#include "app/command_line.h"
#include "app/window_system.h"
#include "tests/support/program_run.h"

#include <QFile>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <functional>

using kavi::CommandLine;
using kavi::parseCommandLine;
using Action = CommandLine::Action;

TEST(CommandLine, ThePictureIsTheFirstFileNamedAndMadeAbsolute) {
    EXPECT_EQ(parseCommandLine({}, "/home/ann").action, Action::Run);
    EXPECT_TRUE(parseCommandLine({}, "/home/ann").picture.isEmpty());
    EXPECT_EQ(parseCommandLine({"cover.jpg"}, "/home/ann").picture, "/home/ann/cover.jpg");
    EXPECT_EQ(parseCommandLine({"../bob/./a.png", "b.png"}, "/home/ann").picture, "/home/bob/a.png");
    EXPECT_EQ(parseCommandLine({"/srv/scans/c.bmp"}, "/home/ann").picture, "/srv/scans/c.bmp");
    EXPECT_EQ(parseCommandLine({"my cover ä.jpg"}, "/tmp").picture, "/tmp/my cover \u00e4.jpg");
}

TEST(CommandLine, HelpThenVersionWinAnywhereBeforeTheEndOfOptions) {
    EXPECT_EQ(parseCommandLine({"a.jpg", "--version", "--help"}, "/").action, Action::Help);
    EXPECT_EQ(parseCommandLine({"-platform", "offscreen", "--help"}, "/").action, Action::Help)
        << "Qt's options are still in the line when help is looked for";
    EXPECT_EQ(parseCommandLine({"--bogus", "--version", "--version"}, "/").action, Action::Version);
    EXPECT_EQ(parseCommandLine({"--", "--help"}, "/").picture, "/--help");
}

TEST(CommandLine, UnknownOptionsAreNamedAndDoubleDashEndsOptions) {
    const CommandLine typo = parseCommandLine({"a.jpg", "--verison", "-x"}, "/");
    EXPECT_EQ(typo.action, Action::UnknownOption);
    EXPECT_EQ(typo.unknownOption, "--verison");
    EXPECT_TRUE(typo.picture.isEmpty());
    const CommandLine dashed = parseCommandLine({"--", "-odd name.jpg", "-x"}, "/pics");
    EXPECT_EQ(dashed.action, Action::Run);
    EXPECT_EQ(dashed.picture, "/pics/-odd name.jpg");
}

TEST(CommandLine, QtsOwnOptionsArePassedOverWithTheirValuesAndThePlatformIsKept) {
    const CommandLine line = parseCommandLine(
        {"-platform", "offscreen", "-style", "Fusion", "--reverse", "-stylesheet=a.qss", "c.jpg"}, "/p");
    EXPECT_EQ(line.action, Action::Run);
    EXPECT_EQ(line.picture, "/p/c.jpg") << "the option's value is no picture";
    EXPECT_EQ(line.platform, "offscreen");
    EXPECT_EQ(parseCommandLine({"--platform", "xcb"}, "/").platform, "xcb");
    const CommandLine typo = parseCommandLine({"-display", ":1", "-x", "-qwindowtitle", "--verison"}, "/");
    EXPECT_EQ(typo.action, Action::UnknownOption);
    EXPECT_EQ(typo.unknownOption, "-x");
    EXPECT_EQ(parseCommandLine({"-style", "--verison"}, "/").action, Action::Run) << "--verison is -style's value";
}

namespace {
struct Probe {
    int asked = 0;
    bool loadable = true;
    std::function<bool()> function() {
        return [this] { return ++asked, loadable; };
    }
};
} // namespace

TEST(WindowSystem, NoDisplayIsSaidAndWaylandPrefersXcbOnlyWhenTheUserChoseNothingAndXcbLoads) {
    struct Case {
        kavi::WindowSystemFacts facts;
        bool loadable;
        bool noDisplay;
        const char* platform;
        bool probes;
    };
    const Case cases[] = {
        {{}, true, true, "", false},
        {{"", "", "wayland", "", ""}, true, true, "", false},
        {{"", "", "", "offscreen", ""}, true, false, "", false},
        {{"", "", "", "", "offscreen"}, true, false, "", false},
        {{":0", "", "x11", "", ""}, true, false, "", false},
        {{"", "wayland-0", "wayland", "", ""}, true, false, "", false},
        {{":0", "wayland-0", "wayland", "", ""}, true, false, "xcb", true},
        {{":0", "wayland-0", "", "", ""}, false, false, "", true},
        {{":0", "", "wayland", "", ""}, true, false, "xcb", true},
        {{":0", "wayland-0", "wayland", "wayland", ""}, true, false, "", false},
        {{":0", "wayland-0", "wayland", "", "wayland"}, true, false, "", false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n++);
        Probe probe;
        probe.loadable = c.loadable;
        const kavi::WindowSystemChoice choice = kavi::chooseWindowSystem(c.facts, probe.function());
        EXPECT_EQ(choice.noDisplay, c.noDisplay);
        EXPECT_EQ(choice.platform, c.platform);
        EXPECT_EQ(probe.asked > 0, c.probes) << "the plugin is looked for only when it decides";
    }
    EXPECT_TRUE(kavi::xcbPlatformLoadable()) << "qt6-qpa-plugins holds the xcb plugin";
    EXPECT_EQ(kavi::noDisplayMessage().count('\n'), 1);
}

namespace {
// This environment without any display or chosen window system.
QProcessEnvironment withoutDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"}) env.remove(name);
    return env;
}
} // namespace

TEST(KaviStart, WithoutADisplayOneLineAndStatusOneWhileOptionsAreStillAnswered) {
    using kavi::testing::runProgram;
    const kavi::testing::ProgramRun bare = runProgram("kavi", {}, withoutDisplay());
    EXPECT_EQ(bare.status, 1) << bare.err.toStdString();
    EXPECT_EQ(bare.err.toStdString(), kavi::noDisplayMessage().toStdString());
    EXPECT_EQ(runProgram("kavi", {"picture.jpg"}, withoutDisplay()).status, 1);

    const kavi::testing::ProgramRun typo = runProgram("kavi", {"--verison"}, withoutDisplay());
    EXPECT_EQ(typo.status, 2);
    EXPECT_EQ(typo.err.toStdString(), "kavi: unknown option --verison (kavi --help lists the options)\n");

    const kavi::testing::ProgramRun help = runProgram("kavi", {"--help"}, withoutDisplay());
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: kavi")) << help.out.toStdString();
    const kavi::testing::ProgramRun version = runProgram("kavi", {"-style", "Fusion", "--version"}, withoutDisplay());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.toStdString(), ("Kavi " + kavi::testing::projectVersion() + "\n").toStdString());

    // A display that does not answer: one line naming it and status 1, not Qt's abort.
    QProcessEnvironment deadDisplay = withoutDisplay();
    int number = 90;
    while (QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number))) ++number;
    deadDisplay.insert("DISPLAY", QString(":%1").arg(number));
    const kavi::testing::ProgramRun dead = runProgram("kavi", {}, deadDisplay);
    EXPECT_EQ(dead.status, 1) << dead.err.toStdString();
    EXPECT_EQ(dead.err.count('\n'), 1) << dead.err.toStdString();
    EXPECT_TRUE(dead.err.startsWith("kavi: cannot open a window:")) << dead.err.toStdString();
    EXPECT_TRUE(dead.err.contains(QString(":%1").arg(number))) << dead.err.toStdString();
    EXPECT_FALSE(dead.err.contains("Reinstalling")) << dead.err.toStdString();
}

TEST(KaviStart, EveryInstalledProgramAnswersVersionAndRefusesAnUnknownOption) {
    using kavi::testing::runProgram;
    const QString version = kavi::testing::projectVersion();
    ASSERT_FALSE(version.isEmpty());
    for (const char* program : {"kavi", "kavi-cover", "kavi-filter", "kavi-transform", "kavi-jpeg"}) {
        SCOPED_TRACE(program);
        const kavi::testing::ProgramRun run = runProgram(program, {"--version"}, withoutDisplay());
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(run.out.endsWith(" " + version + "\n")) << run.out.toStdString();
        EXPECT_EQ(run.out.count('\n'), 1);
        const kavi::testing::ProgramRun help = runProgram(program, {"--help"}, withoutDisplay());
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.contains(QString("Usage: ") + program, Qt::CaseInsensitive)) << help.out.toStdString();
        EXPECT_NE(runProgram(program, {"--no-such-option"}, withoutDisplay()).status, 0);
    }
}
