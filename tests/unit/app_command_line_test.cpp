#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zz {
namespace {

using Args = std::vector<std::string>;
using enum ShellCommand;

// Options in any case and place; quotes are the splitter's business, so a quoted name with
// spaces arrives as one argument. What is not understood is left aside and the program starts.
TEST(CommandLineTest, CommandsTakeTheirFileAndWhatIsNotUnderstoodIsLeftAside) {
    struct Case {
        Args args;
        ShellCommand command;
        Args candidates;  // the file's possible names, most likely first
    };
    const Case cases[] = {
        {{}, kFileNew, {""}},
        {{"C:\\My Pictures\\a b.zz"}, kFileOpen, {"C:\\My Pictures\\a b.zz"}},
        {{"a.zz", "-P"}, kFilePrint, {"a.zz"}},
        {{"/PT", "a.zz"}, kFilePrintTo, {"a.zz"}},  // the default printer
        {{"-regserver"}, kAppRegister, {""}},
        // An option's name is the whole word, not a prefix of a known one.
        {{"/Embed", "/print", "a.zz"}, kFileOpen, {"a.zz"}},
        {{"-pt"}, kFileNew, {""}},
        // An unquoted name with spaces comes apart: joined again, it is tried first.
        {{"C:\\My", "Pictures\\a", "b.zz"}, kFileOpen, {"C:\\My Pictures\\a b.zz", "C:\\My"}},
        {{"/pt", "a", "printer", "driver", "port", "more"}, kFilePrintTo, {"a more", "a"}},
        {{"-UNREGISTER", "a.zz"}, kAppUnregister, {"a.zz"}},
        // The first action wins.
        {{"/p", "a.zz", "/Unregister"}, kFilePrint, {"a.zz"}},
    };
    for (const Case& c : cases) {
        const CCommandLineInfo info = ParseCommandLine(c.args);
        EXPECT_EQ(info.m_shellCommand, c.command) << testing::PrintToString(c.args);
        EXPECT_EQ(info.FileCandidates(), c.candidates) << testing::PrintToString(c.args);
        EXPECT_EQ(info.m_bTellUnregister, c.command == kAppUnregister);
        EXPECT_FALSE(info.IsStartedByClient());
    }
    // Only the name a parent types is answered with a message, not the one tools use.
    const CCommandLineInfo quiet = ParseCommandLine({"/unregserver"});
    EXPECT_TRUE(quiet.m_shellCommand == kAppUnregister && !quiet.m_bTellUnregister);
}

}  // namespace
}  // namespace zz
