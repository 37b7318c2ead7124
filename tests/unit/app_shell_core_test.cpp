// The shell's recent-file list, its automation registry entries and the keys the frame keeps
// from its windows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/recent_file_list.h"
#include "app/server_registration.h"
#include "app/system_key_filter.h"

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

// The four events of Alt+F4 in every order, as Wine and Windows deliver them: the F4 and the Alt
// release after it never reach a window, so neither closing nor the menu bar follows; an Alt
// pressed afresh is the user's own again.
TEST(SystemKeyFilterTest, AltF4LeavesNoTraceWhateverTheOrderOfItsEvents) {
    constexpr std::uint32_t kAlt = 0x12, kF4 = 0x73, kBack = 0x08, kV = 'V';
    struct Step {
        char kind;  // D key down, S system key down, R its auto-repeat, U key up, Y system key up
        std::uint32_t vk;
        bool consumed = false;  // turned into a command by the shortcut table
    };
    auto run = [](std::vector<Step> steps) {
        SystemKeyFilter filter;
        std::string dropped;
        for (const Step& step : steps) {
            const KeyMessage key{step.kind == 'D' || step.kind == 'S' || step.kind == 'R',
                                 step.kind == 'S' || step.kind == 'R' || step.kind == 'Y', step.vk,
                                 step.kind == 'R'};
            const bool drop = filter.Drops(key);
            if (!drop && step.consumed) {
                filter.Consumed(key);
            }
            dropped += drop ? '1' : '0';
        }
        return dropped;
    };
    // F4 let go first, then Alt.
    EXPECT_EQ(run({{'S', kAlt}, {'S', kF4}, {'Y', kF4}, {'Y', kAlt}}), "0101");
    // Alt let go first: after another key its release is a plain key-up, and F4's follows.
    EXPECT_EQ(run({{'S', kAlt}, {'S', kF4}, {'U', kAlt}, {'U', kF4}}), "0110");
    EXPECT_EQ(run({{'S', kAlt}, {'S', kF4}, {'Y', kAlt}, {'U', kF4}}), "0110");
    // Held: the repeats of either key change nothing.
    EXPECT_EQ(run({{'S', kAlt}, {'R', kAlt}, {'S', kF4}, {'R', kF4}, {'U', kAlt}, {'U', kF4}}),
              "001110");
    // The next Alt pressed alone is the user's, even when the last release never came.
    EXPECT_EQ(run({{'S', kAlt}, {'S', kF4}, {'Y', kF4}, {'Y', kAlt}, {'S', kAlt}, {'Y', kAlt}}),
              "010100");
    EXPECT_EQ(run({{'S', kAlt}, {'S', kF4}, {'S', kAlt}, {'Y', kAlt}}), "0100");
    // A system key turned into a command is unseen as well; one the window saw opens its menu.
    EXPECT_EQ(run({{'S', kAlt}, {'S', kBack, true}, {'Y', kBack}, {'Y', kAlt}}), "0001");
    EXPECT_EQ(run({{'S', kAlt}, {'S', kV}, {'Y', kV}, {'Y', kAlt}}), "0000");
    // F4 without Alt is a key like any other.
    EXPECT_EQ(run({{'D', kF4}, {'U', kF4}, {'S', kAlt}, {'Y', kAlt}}), "0000");
}

}  // namespace
}  // namespace zz
