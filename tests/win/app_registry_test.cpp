// The shell's registry: automation entries written, repaired and removed, the recent-file list,
// and the program's own registration options run as a process.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_profile.h"
#include "app/automation_server.h"
#include "app/registry.h"
#include "app/win32_arguments.h"
#include "app/command_line.h"
#include "framework/unicode.h"

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

std::wstring ProgramBeside(const wchar_t* name) {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path(own);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// Runs Zoomzap.exe with arguments and returns its exit code, or -1 when it did not end.
int RunProgram(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + ProgramBeside(L"Zoomzap.exe") + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    const KernelHandle thread(process.hThread);
    const KernelHandle handle(process.hProcess);
    if (WaitForSingleObject(handle.Get(), 30000) != WAIT_OBJECT_0) {
        TerminateProcess(handle.Get(), 99);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(handle.Get(), &code);
    return static_cast<int>(code);
}

TEST(AppRegistryTest, QuotedNamesSurviveTheSplitting) {
    EXPECT_TRUE(SplitCommandLine(L"").empty());
    EXPECT_TRUE(SplitCommandLine(L"\"C:\\a b\\Zoomzap.exe\"").empty());

    const CCommandLineInfo print = ParseCommandLine(
        SplitCommandLine(L"\"C:\\a b\\Zoomzap.exe\" /p \"C:\\My Pictures\\ねこ の え.zz\""));
    EXPECT_TRUE(print.IsValid());
    EXPECT_EQ(print.m_nShellCommand, ShellCommand::kFilePrint);
    EXPECT_EQ(print.m_strFileName, "C:\\My Pictures\\ねこ の え.zz");

    const CCommandLineInfo to = ParseCommandLine(
        SplitCommandLine(L"Zoomzap.exe -pt a.zz \"Printer 1\" winspool \"\\\\server\\q\""));
    EXPECT_TRUE(to.IsValid());
    EXPECT_EQ(to.m_strPrinterName, "Printer 1");
    EXPECT_EQ(to.m_strPortName, "\\\\server\\q");

    // A name with spaces that nobody quoted is refused, not opened by its first part.
    EXPECT_EQ(ParseCommandLine(SplitCommandLine(L"Zoomzap.exe C:\\My Pictures\\a.zz")).m_error,
              CommandLineError::kUnexpectedArgument);
}

TEST(AppRegistryTest, ServerEntriesAreWrittenRepairedAndRemoved) {
    TestRoot root;
    const ServerIdentity identity = TestIdentity();
    const std::string clsid = "CLSID\\" + identity.classId;
    ASSERT_EQ(identity.progId, "Zoomzap.Document");
    ASSERT_EQ(identity.classId.size(), 38u);

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

TEST(AppRegistryTest, RecentFilesAfterTwoOpensAndAfterOverflow) {
    TestRoot root;
    const CAppProfile profile(HKEY_CURRENT_USER,
                              "ZoomzapTests\\" + std::to_string(GetCurrentProcessId()), "Zoomzap");
    // Left-overs of a longer list must not come back as entries.
    const RegistryKey stale =
        CreateRegistryKey(HKEY_CURRENT_USER, profile.KeyPath() + "\\" + kRecentFileSection);
    WriteRegistryString(stale.Get(), "File3", "C:\\old3");
    WriteRegistryString(stale.Get(), "File4", "C:\\old4");

    CRecentFileList list(4);
    list.Add("C:\\写真\\一.zz");
    list.Add("C:\\二.zz");
    ASSERT_TRUE(profile.SaveRecentFiles(list));

    CRecentFileList loaded(4);
    profile.LoadRecentFiles(loaded);
    EXPECT_EQ(loaded.Entries(), (std::vector<std::string>{"C:\\二.zz", "C:\\写真\\一.zz"}));
    EXPECT_EQ(ReadRegistryString(stale.Get(), "File1"), "C:\\二.zz");
    EXPECT_EQ(ReadRegistryString(stale.Get(), "File3"), "");

    for (const char* name : {"C:\\3", "C:\\4", "C:\\5"}) {
        loaded.Add(name);
    }
    ASSERT_TRUE(profile.SaveRecentFiles(loaded));
    CRecentFileList again(4);
    profile.LoadRecentFiles(again);
    EXPECT_EQ(again.Entries(), (std::vector<std::string>{"C:\\5", "C:\\4", "C:\\3", "C:\\二.zz"}));
    EXPECT_EQ(ReadRegistryString(stale.Get(), "File5"), "");
}

TEST(AppRegistryTest, ProgramRegistersAndUnregistersItself) {
    const RegistryKey classes = CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Classes");
    ASSERT_TRUE(classes);
    ServerIdentity identity = CAutomationServer::Identity();
    const std::string clsid = "CLSID\\" + identity.classId;

    ASSERT_EQ(RunProgram(L"/Register"), 0);
    const std::string server = DefaultValue(classes.Get(), clsid + "\\LocalServer32");
    EXPECT_EQ(server, "\"" + Narrow(ProgramBeside(L"Zoomzap.exe")) + "\" /Automation");
    EXPECT_EQ(DefaultValue(classes.Get(), "Zoomzap.Document\\CLSID"), identity.classId);

    for (const wchar_t* option : {L"/Unregister", L"-unregserver"}) {
        ASSERT_EQ(RunProgram(L"/Regserver"), 0);
        ASSERT_TRUE(OpenRegistryKey(classes.Get(), "Zoomzap.Document"));
        EXPECT_EQ(RunProgram(option), 0) << Narrow(option);
        EXPECT_FALSE(OpenRegistryKey(classes.Get(), "Zoomzap.Document")) << Narrow(option);
        EXPECT_FALSE(OpenRegistryKey(classes.Get(), clsid)) << Narrow(option);
    }
}

}  // namespace
}  // namespace zz
