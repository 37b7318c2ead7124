// The shell's recent-file list and its automation registry entries.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/recent_file_list.h"
#include "app/server_registration.h"

namespace zz {
namespace {

using Names = std::vector<std::string>;

TEST(RecentFileListTest, NewestFirstAtMostFourNoRepeats) {
    CRecentFileList list(4);
    list.Add("C:\\a.zz");
    list.Add("C:\\b.zz");
    EXPECT_EQ(list.Entries(), (Names{"C:\\b.zz", "C:\\a.zz"}));

    // The same file again, spelled in other letter case or with the other slash, moves up.
    list.Add("c:/A.ZZ");
    EXPECT_EQ(list.Entries(), (Names{"c:/A.ZZ", "C:\\b.zz"}));

    for (const char* name : {"C:\\c", "C:\\d", "C:\\e"}) {
        list.Add(name);
    }
    EXPECT_EQ(list.Entries(), (Names{"C:\\e", "C:\\d", "C:\\c", "c:/A.ZZ"}));

    // Only Latin letters fold: these are two different files.
    list.Add("C:\\Ａ");
    list.Add("C:\\ａ");
    EXPECT_EQ(list.Entries(), (Names{"C:\\ａ", "C:\\Ａ", "C:\\e", "C:\\d"}));

    list.Add("");
    EXPECT_EQ(list.Entries().size(), 4u);
}

TEST(RecentFileListTest, LoadDropsGapsRepeatsAndOverflow) {
    CRecentFileList list(4);
    list.Load({"", "C:\\a", "C:\\A", "C:\\b", "C:\\c", "C:\\d", "C:\\e"});
    EXPECT_EQ(list.Entries(), (Names{"C:\\a", "C:\\b", "C:\\c", "C:\\d"}));
    EXPECT_EQ(CRecentFileList::ValueName(0), "File1");
    EXPECT_EQ(CRecentFileList::ValueName(3), "File4");
}

TEST(ServerRegistrationTest, EntriesNameTypeClassAndQuotedProgram) {
    ServerIdentity identity =
        IdentityFromDocumentStrings("Zoomzap\n\nZoomz\n\n\nZoomzap.Document\nZoomz Document");
    EXPECT_EQ(identity.progId, "Zoomzap.Document");
    EXPECT_EQ(identity.typeName, "Zoomz Document");
    identity.classId = "{11111111-2222-3333-4444-555555555555}";
    identity.interfaceId = "{66666666-2222-3333-4444-555555555555}";
    identity.programPath = "C:\\Program Files\\ずーむ\\Zoomzap.exe";

    const std::vector<RegistryEntry> entries = ServerRegistryEntries(identity);
    std::vector<std::pair<std::string, std::string>> actual;
    for (const RegistryEntry& e : entries) {
        actual.emplace_back(e.key, e.value);
    }
    const std::string clsid = "CLSID\\{11111111-2222-3333-4444-555555555555}";
    const std::string iid = "Interface\\{66666666-2222-3333-4444-555555555555}";
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Zoomzap.Document", "Zoomz Document"},
        {"Zoomzap.Document\\CLSID", "{11111111-2222-3333-4444-555555555555}"},
        {clsid, "Zoomz Document"},
        {clsid + "\\ProgID", "Zoomzap.Document"},
        {clsid + "\\LocalServer32", "\"C:\\Program Files\\ずーむ\\Zoomzap.exe\" /Automation"},
        {iid, "IZoomzapDocument"},
        {iid + "\\ProxyStubClsid32", "{00020420-0000-0000-C000-000000000046}"},
    };
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(ServerRegistryRoots(identity), (Names{"Zoomzap.Document", clsid, iid}));
}

TEST(ServerRegistrationTest, IncompleteIdentityTouchesNothing) {
    // Missing document strings must never turn into deleting the whole classes root.
    ServerIdentity identity = IdentityFromDocumentStrings("");
    identity.classId = "{11111111-2222-3333-4444-555555555555}";
    identity.interfaceId = "{66666666-2222-3333-4444-555555555555}";
    EXPECT_TRUE(ServerRegistryEntries(identity).empty());
    EXPECT_TRUE(ServerRegistryRoots(identity).empty());

    identity.progId = "Zoomzap.Document";
    EXPECT_TRUE(ServerRegistryEntries(identity).empty());  // no program to start
    identity.programPath = "C:\\Zoomzap.exe";
    EXPECT_EQ(ServerRegistryEntries(identity).size(), 7u);
    identity.classId.clear();
    EXPECT_TRUE(ServerRegistryEntries(identity).empty());
    EXPECT_TRUE(ServerRegistryRoots(identity).empty());

    identity.classId = "{1}";
    identity.progId = "Zoomzap\\..";
    EXPECT_TRUE(ServerRegistryRoots(identity).empty());
}

}  // namespace
}  // namespace zz
