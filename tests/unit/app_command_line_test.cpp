#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zz {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, CommandsTakeTheirFileWithOptionsInAnyCaseAndPlace) {
    EXPECT_EQ(ParseCommandLine({}).m_nShellCommand, ShellCommand::kFileNew);
    EXPECT_FALSE(ParseCommandLine({}).IsStartedByClient());
    struct Case {
        Args args;
        ShellCommand command;
        std::string file;
    };
    // Quotes are the splitter's business: a name with spaces arrives as one argument.
    for (const Case& c :
         {Case{{"C:\\My Pictures\\a b.zz"}, ShellCommand::kFileOpen, "C:\\My Pictures\\a b.zz"},
          Case{{"C:\\写真\\ねこ.png"}, ShellCommand::kFileOpen, "C:\\写真\\ねこ.png"},
          Case{{"-P", "a.zz"}, ShellCommand::kFilePrint, "a.zz"},
          Case{{"a.zz", "/p"}, ShellCommand::kFilePrint, "a.zz"},
          Case{{"/PT", "a.zz"}, ShellCommand::kFilePrintTo, "a.zz"}}) {  // the default printer
        const CCommandLineInfo info = ParseCommandLine(c.args);
        EXPECT_EQ(info.m_nShellCommand, c.command) << c.args[0];
        EXPECT_EQ(info.m_strFileName, c.file);
    }
    const CCommandLineInfo to = ParseCommandLine({"-pt", "a.zz", "Laser 1", "winspool", "LPT1:"});
    EXPECT_EQ(to.m_strPrinterName, "Laser 1");
    EXPECT_EQ(to.m_strDriverName, "winspool");
    EXPECT_EQ(to.m_strPortName, "LPT1:");
    // The name a parent types is answered with a message, the one tools use is not.
    for (const auto& [option, tell] : {std::pair{"/unregserver", false}, {"-UNREGISTER", true}}) {
        const CCommandLineInfo info = ParseCommandLine({option});
        EXPECT_EQ(info.m_nShellCommand, ShellCommand::kAppUnregister);
        EXPECT_EQ(info.m_bTellUnregister, tell);
    }
    EXPECT_EQ(ParseCommandLine({"-regserver"}).m_nShellCommand, ShellCommand::kAppRegister);
    // What COM runs: the registered command, its own option added.
    const CCommandLineInfo both = ParseCommandLine({"/Automation", "-EMBEDDING"});
    EXPECT_TRUE(both.m_bRunAutomated && both.m_bRunEmbedded && both.IsStartedByClient());
    EXPECT_FALSE(ParseCommandLine({"-automation"}).m_bRunEmbedded);
}

TEST(CommandLineTest, WhatIsNotUnderstoodIsLeftAsideAndTheProgramStarts) {
    struct Case {
        Args args;
        ShellCommand command;
        std::vector<std::string> candidates;
    };
    const Case cases[] = {
        {{"/"}, ShellCommand::kFileNew, {""}},
        // An option's name is the whole word, not a prefix of a known one.
        {{"/Embed", "/print", "a.zz"}, ShellCommand::kFileOpen, {"a.zz"}},
        {{"-pt"}, ShellCommand::kFileNew, {""}},
        // An unquoted name with spaces comes apart: joined again, it is tried first.
        {{"C:\\My", "Pictures\\a", "b.zz"},
         ShellCommand::kFileOpen,
         {"C:\\My Pictures\\a b.zz", "C:\\My"}},
        {{"/pt", "a", "printer", "driver", "port", "more"},
         ShellCommand::kFilePrintTo,
         {"a more", "a"}},
        {{"/Unregister", "a.zz"}, ShellCommand::kAppUnregister, {"a.zz"}},
        // The first action wins.
        {{"/p", "a.zz", "/Unregister"}, ShellCommand::kFilePrint, {"a.zz"}},
        {{"/p", "/pt", "a.zz"}, ShellCommand::kFilePrint, {"a.zz"}},
    };
    for (const Case& c : cases) {
        const CCommandLineInfo info = ParseCommandLine(c.args);
        EXPECT_EQ(info.m_nShellCommand, c.command) << c.args[0];
        EXPECT_EQ(info.FileCandidates(), c.candidates) << c.args[0];
    }
    EXPECT_FALSE(ParseCommandLine({"/p", "a.zz", "/Unregister"}).m_bTellUnregister);
}

}  // namespace
}  // namespace zz
