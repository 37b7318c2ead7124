#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zz {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, NoArgumentIsANewDocument) {
    const CCommandLineInfo info = ParseCommandLine({});
    EXPECT_TRUE(info.IsValid());
    EXPECT_EQ(info.m_nShellCommand, ShellCommand::kFileNew);
    EXPECT_TRUE(info.m_strFileName.empty());
    EXPECT_FALSE(info.IsStartedByClient());
}

TEST(CommandLineTest, AFileNameOpensIt) {
    // Quotes are the splitter's business: a name with spaces arrives as one argument.
    for (const std::string name : {"C:\\My Pictures\\a b.zz", "d.txt", "C:\\写真\\ねこ.png"}) {
        const CCommandLineInfo info = ParseCommandLine({name});
        EXPECT_TRUE(info.IsValid()) << name;
        EXPECT_EQ(info.m_nShellCommand, ShellCommand::kFileOpen) << name;
        EXPECT_EQ(info.m_strFileName, name);
    }
}

TEST(CommandLineTest, PrintOptionsTakeTheFileAndThePrinter) {
    for (const Args& args : {Args{"/p", "a.zz"}, Args{"-P", "a.zz"}, Args{"a.zz", "/p"}}) {
        const CCommandLineInfo info = ParseCommandLine(args);
        EXPECT_TRUE(info.IsValid()) << args[0];
        EXPECT_EQ(info.m_nShellCommand, ShellCommand::kFilePrint) << args[0];
        EXPECT_EQ(info.m_strFileName, "a.zz");
    }

    const CCommandLineInfo to = ParseCommandLine({"-pt", "a.zz", "Laser 1", "winspool", "LPT1:"});
    EXPECT_TRUE(to.IsValid());
    EXPECT_EQ(to.m_nShellCommand, ShellCommand::kFilePrintTo);
    EXPECT_EQ(to.m_strFileName, "a.zz");
    EXPECT_EQ(to.m_strPrinterName, "Laser 1");
    EXPECT_EQ(to.m_strDriverName, "winspool");
    EXPECT_EQ(to.m_strPortName, "LPT1:");

    // The printer may be left to the default one.
    const CCommandLineInfo toDefault = ParseCommandLine({"/PT", "a.zz"});
    EXPECT_TRUE(toDefault.IsValid());
    EXPECT_EQ(toDefault.m_nShellCommand, ShellCommand::kFilePrintTo);
    EXPECT_TRUE(toDefault.m_strPrinterName.empty());
}

TEST(CommandLineTest, AutomationClientsAreRecognisedInAnyCase) {
    for (const std::string option : {"/Embedding", "-embedding", "/EMBEDDING"}) {
        const CCommandLineInfo info = ParseCommandLine({option});
        EXPECT_TRUE(info.IsValid()) << option;
        EXPECT_TRUE(info.m_bRunEmbedded) << option;
        EXPECT_TRUE(info.IsStartedByClient());
    }
    for (const std::string option : {"/Automation", "-automation"}) {
        const CCommandLineInfo info = ParseCommandLine({option});
        EXPECT_TRUE(info.m_bRunAutomated) << option;
        EXPECT_FALSE(info.m_bRunEmbedded);
    }
    // What COM runs: the registered command, its own option added.
    const CCommandLineInfo both = ParseCommandLine({"/Automation", "-Embedding"});
    EXPECT_TRUE(both.IsValid());
    EXPECT_TRUE(both.m_bRunAutomated && both.m_bRunEmbedded);
}

TEST(CommandLineTest, RegistrationOptions) {
    for (const std::string option :
         {"/Unregister", "/unregserver", "-UNREGISTER", "-Unregserver"}) {
        const CCommandLineInfo info = ParseCommandLine({option});
        EXPECT_TRUE(info.IsValid()) << option;
        EXPECT_EQ(info.m_nShellCommand, ShellCommand::kAppUnregister) << option;
    }
    for (const std::string option : {"/Register", "-regserver"}) {
        EXPECT_EQ(ParseCommandLine({option}).m_nShellCommand, ShellCommand::kAppRegister);
    }
}

TEST(CommandLineTest, FaultsNameTheArgument) {
    struct Case {
        Args args;
        CommandLineError error;
        std::string argument;
    };
    const Case cases[] = {
        {{"/x"}, CommandLineError::kUnknownOption, "/x"},
        {{"/"}, CommandLineError::kUnknownOption, "/"},
        {{"-"}, CommandLineError::kUnknownOption, "-"},
        // An option's name is the whole word, not a prefix of a known one.
        {{"/Embed"}, CommandLineError::kUnknownOption, "/Embed"},
        {{"/print", "a.zz"}, CommandLineError::kUnknownOption, "/print"},
        {{"/p"}, CommandLineError::kMissingFileName, "/p"},
        {{"-pt"}, CommandLineError::kMissingFileName, "-pt"},
        // An unquoted name with spaces comes apart; opening only its first part would be wrong.
        {{"C:\\My", "Pictures\\a.zz"}, CommandLineError::kUnexpectedArgument, "Pictures\\a.zz"},
        {{"/p", "a.zz", "b.zz"}, CommandLineError::kUnexpectedArgument, "b.zz"},
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
