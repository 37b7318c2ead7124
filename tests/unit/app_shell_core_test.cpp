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
    // Loading drops gaps, repeats and overflow.
    list.Load({"", "C:\\a.zz", "C:\\A.zz", "C:\\b.zz", "C:\\c", "C:\\d", "C:\\e"});
    EXPECT_EQ(list.Entries(), (Names{"C:\\a.zz", "C:\\b.zz", "C:\\c", "C:\\d"}));
    // The same file again, spelled in other letter case or with the other slash, moves up.
    list.Add("c:/A.ZZ");
    EXPECT_EQ(list.Entries(), (Names{"c:/A.ZZ", "C:\\b.zz", "C:\\c", "C:\\d"}));
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

TEST(ServerRegistrationTest, EntriesNameTypeClassAndQuotedProgram) {
    ServerIdentity identity =
        IdentityFromDocumentStrings("Zoomzap\n\nZoomz\n\n\nZoomzap.Document\nZoomz Document");
    EXPECT_EQ(identity.progId, "Zoomzap.Document");
    EXPECT_EQ(identity.typeName, "Zoomz Document");
    identity.classId = "{11111111-2222-3333-4444-555555555555}";
    identity.interfaceId = "{66666666-2222-3333-4444-555555555555}";
    identity.programPath = "C:\\Program Files\\ずーむ\\Zoomzap.exe";

    std::vector<std::pair<std::string, std::string>> actual;
    for (const RegistryEntry& e : ServerRegistryEntries(identity)) {
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

    // Missing parts must never turn into deleting the whole classes root.
    for (auto spoil : {+[](ServerIdentity& i) { i.progId.clear(); },
                       +[](ServerIdentity& i) { i.classId.clear(); },
                       +[](ServerIdentity& i) { i.interfaceId.clear(); },
                       +[](ServerIdentity& i) { i.progId = "Zoomzap\\.."; }}) {
        ServerIdentity incomplete = identity;
        spoil(incomplete);
        EXPECT_TRUE(ServerRegistryEntries(incomplete).empty());
        EXPECT_TRUE(ServerRegistryRoots(incomplete).empty());
    }
    identity.programPath.clear();
    EXPECT_TRUE(ServerRegistryEntries(identity).empty());  // no program to start
}

}  // namespace
}  // namespace zz
