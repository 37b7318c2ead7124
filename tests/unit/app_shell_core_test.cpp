#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/recent_file_list.h"
#include "app/server_registration.h"
#include "app/system_key_filter.h"

namespace zz {
namespace {

using Names = std::vector<std::string>;

TEST(RecentFileListTest, NewestFirstAtMostFourNoRepeats) {
    CRecentFileList list(4);
    // Loading drops gaps, repeats and overflow; a slash stands only for the other slash.
    list.Load({"", "C:\\a.zz", "C:\\A.zz", "C:\\b.zz", "C:_b.zz", "C:\\d", "C:\\e"});
    EXPECT_EQ(list.Entries(), (Names{"C:\\a.zz", "C:\\b.zz", "C:_b.zz", "C:\\d"}));
    // The same file again, spelled in other letter case or with the other slash, moves up.
    list.Add("c:/A.ZZ");
    EXPECT_EQ(list.Entries(), (Names{"c:/A.ZZ", "C:\\b.zz", "C:_b.zz", "C:\\d"}));
    for (const char* name : {"C:\\c", "C:\\d", "C:\\e", "", "C:\\Ａ", "C:\\ａ"}) {
        list.Add(name);
    }
    // Only Latin letters fold: these are two different files; an empty name is none.
    EXPECT_EQ(list.Entries(), (Names{"C:\\ａ", "C:\\Ａ", "C:\\e", "C:\\d"}));
}

// Missing parts, short document strings too, must never turn into deleting the whole classes
// root; the entries need a program to start, their removal does not.
TEST(ServerRegistrationTest, EntriesNeedEveryPartAndRemovalNeverReachesTheClassesRoot) {
    ServerIdentity identity =
        IdentityFromDocumentStrings("Zoomzap\n\nZoomz\n\n\nZoomzap.Document\nZoomz Document");
    std::tie(identity.classId, identity.interfaceId, identity.programPath) =
        std::tuple("{1}", "{2}", "C:\\Program Files\\ずーむ\\Zoomzap.exe");
    EXPECT_EQ(ServerRegistryEntries(identity).size(), 7u);
    EXPECT_EQ(ServerRegistryRoots(identity),
              (Names{"Zoomzap.Document", "CLSID\\{1}", "Interface\\{2}"}));
    EXPECT_TRUE(IdentityFromDocumentStrings("Zoomzap\n\nZoomz").progId.empty());
    for (auto spoil : {+[](ServerIdentity& i) { i.progId.clear(); },
                       +[](ServerIdentity& i) { i.interfaceId.clear(); },
                       +[](ServerIdentity& i) { i.progId = "Zoomzap\\.."; },
                       +[](ServerIdentity& i) { i.programPath.clear(); }}) {
        ServerIdentity incomplete = identity;
        spoil(incomplete);
        EXPECT_TRUE(ServerRegistryEntries(incomplete).empty());
        EXPECT_EQ(ServerRegistryRoots(incomplete).empty(), incomplete.programPath.size() > 0);
    }
}

// Alt+F4's four events in every order Wine and Windows deliver them: the F4 and the Alt release
// after it never reach a window, so neither closing nor the menu bar follows. Steps: D key down,
// S system key down, R its repeat, U key up, Y system key up; A Alt, F F4, V the letter V, and B
// Backspace, which the shortcut table turns into a command.
TEST(SystemKeyFilterTest, AltF4LeavesNoTraceWhateverTheOrderOfItsEvents) {
    auto run = [](std::string_view steps) {
        SystemKeyFilter filter;
        std::string dropped;
        for (size_t i = 0; i + 1 < steps.size(); i += 3) {
            const char kind = steps[i], key = steps[i + 1];
            const std::uint32_t vk = key == 'A' ? 0x12 : key == 'F' ? 0x73 : key == 'B' ? 8 : 'V';
            const KeyMessage message{kind == 'D' || kind == 'S' || kind == 'R',
                                     kind == 'S' || kind == 'R' || kind == 'Y', vk, kind == 'R'};
            const bool drop = filter.Drops(message);
            if (!drop && key == 'B') {
                filter.Consumed(message);
            }
            dropped += drop ? '1' : '0';
        }
        return dropped;
    };
    const std::pair<const char*, const char*> cases[] = {
        {"SA SF YF YA", "0101"},  // F4 let go first
        // Alt let go first: after another key its release is a plain key-up, and F4's follows.
        {"SA SF UA UF", "0110"},
        {"SA SF YA UF", "0110"},
        {"SA RA SF RF UA UF", "001110"},  // held: the repeats change nothing
        // An Alt pressed afresh is the user's, even when the last release never came.
        {"SA SF YF YA SA YA", "010100"},
        {"SA SF SA YA", "0100"},
        // A system key turned into a command is unseen as well; one the window saw opens its menu.
        {"SA SB YB YA", "0001"},
        {"SA SV YV YA", "0000"},
        {"DF UF SA YA", "0000"},  // F4 without Alt is a key like any other
    };
    for (const auto& [steps, dropped] : cases) {
        EXPECT_EQ(run(steps), dropped) << steps;
    }
}

}  // namespace
}  // namespace zz
