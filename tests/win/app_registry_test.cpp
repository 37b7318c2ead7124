// The shell's registry entries for automation, and splitting the command line.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/automation_server.h"
#include "app/registry.h"
#include "app/win32_arguments.h"
#include "app/command_line.h"

namespace zz {
namespace {

// A key of the test's own below HKCU, removed with everything in it at the end.
class TestRoot {
public:
    TestRoot()
        : m_strPath("Software\\ZoomzapTests\\" + std::to_string(GetCurrentProcessId())),
          m_key(CreateRegistryKey(HKEY_CURRENT_USER, m_strPath)) {}
    ~TestRoot() {
        m_key.Reset();
        DeleteRegistryTree(HKEY_CURRENT_USER, m_strPath);
    }
    HKEY Get() const { return m_key.Get(); }

private:
    std::string m_strPath;
    RegistryKey m_key;
};

std::string DefaultValue(HKEY root, const std::string& path) {
    const RegistryKey key = OpenRegistryKey(root, path);
    return key ? ReadRegistryString(key.Get(), "") : "(missing)";
}

ServerIdentity TestIdentity() {
    ServerIdentity identity = CAutomationServer::Identity();
    identity.programPath = "C:\\Program Files\\ずーむざっぷ\\Zoomzap.exe";
    return identity;
}

TEST(AppRegistryTest, QuotedNamesSurviveTheSplitting) {
    EXPECT_TRUE(SplitCommandLine(L"").empty());
    EXPECT_TRUE(SplitCommandLine(L"\"C:\\a b\\Zoomzap.exe\"").empty());

    const CCommandLineInfo print = ParseCommandLine(
        SplitCommandLine(L"\"C:\\a b\\Zoomzap.exe\" /p \"C:\\My Pictures\\ねこ の え.zz\""));
    EXPECT_EQ(print.m_nShellCommand, ShellCommand::kFilePrint);
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

TEST(AppRegistryTest, ServerEntriesAreWrittenRepairedAndRemoved) {
    TestRoot root;
    const ServerIdentity identity = TestIdentity();
    const std::string clsid = "CLSID\\" + identity.classId;

    // Someone else's class beside ours must survive everything below.
    WriteRegistryString(CreateRegistryKey(root.Get(), "Other.Document").Get(), "", "Other");

    ASSERT_TRUE(RegisterServer(root.Get(), identity));
    EXPECT_EQ(DefaultValue(root.Get(), "Zoomzap.Document"), "Zoomz Document");
    EXPECT_EQ(DefaultValue(root.Get(), "Zoomzap.Document\\CLSID"), identity.classId);
    EXPECT_EQ(DefaultValue(root.Get(), clsid), "Zoomz Document");
    EXPECT_EQ(DefaultValue(root.Get(), clsid + "\\ProgID"), "Zoomzap.Document");
    const std::string server = "\"" + identity.programPath + "\" /Automation";
    EXPECT_EQ(DefaultValue(root.Get(), clsid + "\\LocalServer32"), server);
    const std::string iid = "Interface\\" + identity.interfaceId;
    EXPECT_EQ(DefaultValue(root.Get(), iid + "\\ProxyStubClsid32"),
              "{00020420-0000-0000-C000-000000000046}");

    // Damaged entries: a removed server key and a wrong type name come back.
    ASSERT_TRUE(DeleteRegistryTree(root.Get(), clsid + "\\LocalServer32"));
    WriteRegistryString(OpenRegistryKey(root.Get(), "Zoomzap.Document").Get(), "", "x");
    ASSERT_TRUE(RegisterServer(root.Get(), identity));
    EXPECT_EQ(DefaultValue(root.Get(), clsid + "\\LocalServer32"), server);
    EXPECT_EQ(DefaultValue(root.Get(), "Zoomzap.Document"), "Zoomz Document");

    ASSERT_TRUE(UnregisterServer(root.Get(), identity));
    EXPECT_FALSE(OpenRegistryKey(root.Get(), "Zoomzap.Document"));
    EXPECT_FALSE(OpenRegistryKey(root.Get(), clsid));
    EXPECT_FALSE(OpenRegistryKey(root.Get(), iid));
    EXPECT_TRUE(OpenRegistryKey(root.Get(), "CLSID")) << "the shared CLSID key stays";
    EXPECT_EQ(DefaultValue(root.Get(), "Other.Document"), "Other");
    // Nothing left to remove is no failure.
    EXPECT_TRUE(UnregisterServer(root.Get(), identity));
}

}  // namespace
}  // namespace zz
