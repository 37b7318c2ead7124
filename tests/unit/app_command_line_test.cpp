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
        EXPECT_TRUE(info.IsValid()) << c.args[0];
        EXPECT_EQ(info.m_nShellCommand, c.command) << c.args[0];
        EXPECT_EQ(info.m_strFileName, c.file);
    }
    const CCommandLineInfo to = ParseCommandLine({"-pt", "a.zz", "Laser 1", "winspool", "LPT1:"});
    EXPECT_EQ(to.m_strPrinterName, "Laser 1");
    EXPECT_EQ(to.m_strDriverName, "winspool");
    EXPECT_EQ(to.m_strPortName, "LPT1:");
    for (const std::string option : {"/unregserver", "-UNREGISTER"}) {
        EXPECT_EQ(ParseCommandLine({option}).m_nShellCommand, ShellCommand::kAppUnregister);
    }
    EXPECT_EQ(ParseCommandLine({"-regserver"}).m_nShellCommand, ShellCommand::kAppRegister);
    // What COM runs: the registered command, its own option added.
    const CCommandLineInfo both = ParseCommandLine({"/Automation", "-EMBEDDING"});
    EXPECT_TRUE(both.IsValid());
    EXPECT_TRUE(both.m_bRunAutomated && both.m_bRunEmbedded && both.IsStartedByClient());
    EXPECT_FALSE(ParseCommandLine({"-automation"}).m_bRunEmbedded);
}

TEST(CommandLineTest, FaultsNameTheArgument) {
    struct Case {
        Args args;
        CommandLineError error;
        std::string argument;
    };
    const Case cases[] = {
        {{"/"}, CommandLineError::kUnknownOption, "/"},
        // An option's name is the whole word, not a prefix of a known one.
        {{"/Embed"}, CommandLineError::kUnknownOption, "/Embed"},
        {{"/print", "a.zz"}, CommandLineError::kUnknownOption, "/print"},
        {{"-pt"}, CommandLineError::kMissingFileName, "-pt"},
        // An unquoted name with spaces comes apart; opening only its first part would be wrong.
        {{"C:\\My", "Pictures\\a.zz"}, CommandLineError::kUnexpectedArgument, "Pictures\\a.zz"},
        {{"/pt", "a", "printer", "driver", "port", "more"},
         CommandLineError::kUnexpectedArgument,
         "more"},
        {{"/Unregister", "a.zz"}, CommandLineError::kUnexpectedArgument, "a.zz"},
        {{"/p", "a.zz", "/Unregister"}, CommandLineError::kConflictingOptions, "/Unregister"},
        {{"/p", "/pt", "a.zz"}, CommandLineError::kConflictingOptions, "/pt"},
    };
    for (const Case& c : cases) {
        const CCommandLineInfo info = ParseCommandLine(c.args);
        EXPECT_FALSE(info.IsValid()) << c.args[0];
        EXPECT_EQ(info.m_error, c.error) << c.args[0];
        EXPECT_EQ(info.m_strErrorArgument, c.argument) << c.args[0];
    }
}

}  // namespace
}  // namespace zz
