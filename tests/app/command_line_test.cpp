// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: which action wins, how the picture's name is read, what is refused.
#include "command_line.h"

#include <gtest/gtest.h>

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
