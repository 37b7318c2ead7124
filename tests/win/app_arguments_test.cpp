// The command line as Windows hands it over, split into words and understood.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/command_line.h"
#include "app/win32_arguments.h"

namespace zz {
namespace {

TEST(AppArgumentsTest, QuotedNamesSurviveTheSplitting) {
    EXPECT_TRUE(SplitCommandLine(L"").empty());
    EXPECT_TRUE(SplitCommandLine(L"\"C:\\a b\\Zoomzap.exe\"").empty());

    const CCommandLineInfo print = ParseCommandLine(
        SplitCommandLine(L"\"C:\\a b\\Zoomzap.exe\" /p \"C:\\My Pictures\\ねこ の え.zz\""));
    EXPECT_EQ(print.m_shellCommand, ShellCommand::kFilePrint);
    EXPECT_EQ(print.m_strFileName, "C:\\My Pictures\\ねこ の え.zz");

    const CCommandLineInfo to = ParseCommandLine(
        SplitCommandLine(L"Zoomzap.exe -pt a.zz \"Printer 1\" winspool \"\\\\server\\q\""));
    EXPECT_EQ(to.m_strPrinterName, "Printer 1");
    EXPECT_EQ(to.m_strPortName, "\\\\server\\q");

    // A name with spaces that nobody quoted is tried whole first.
    EXPECT_EQ(ParseCommandLine(SplitCommandLine(L"Zoomzap.exe C:\\My Pictures\\a.zz"))
                  .FileCandidates()
                  .front(),
              "C:\\My Pictures\\a.zz");
}

}  // namespace
}  // namespace zz
