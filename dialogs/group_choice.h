#pragma once
// The group selection dialog and the start-up group picker without their windows.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/text_encoding.h"

namespace zz {

inline constexpr int kGroupRadioCount = 12;
// Radio 0 is all groups, radio 1 the start-up choice, radios 2 to 11 the groups found.
inline constexpr int kFirstGroupRadio = 2;

class GroupSelectModel {
public:
    // groups: the groups found, in listing order, of which the first kMaxGroups are offered;
    // current: the group value to show; encoding: the settings file's.
    GroupSelectModel(std::vector<std::string> groups, std::string_view current,
                     TextEncoding encoding);

    // The radio that shows the current value: all groups for a value no radio offers.
    int CheckedRadio() const { return m_nCheckedRadio; }
    // The group name of a group radio; empty for the others.
    std::string GroupName(int radio) const;
    bool IsVisible(int radio) const;
    // The group value that the radio stands for; none for an index that is no visible radio.
    std::optional<std::string> ValueOf(int radio) const;
    // The radio's group and the other groups that the settings file would hold under the same
    // name, so that they cannot be told apart; empty when the value can be stored.
    std::vector<std::string> Collisions(int radio) const;

private:
    std::vector<std::string> m_allGroups;
    std::vector<std::string> m_offered;
    TextEncoding m_encoding;
    int m_nCheckedRadio = 0;
};

inline constexpr int kPickButtonCount = 10;

// Button k answers digit key k+1, and the last one key 0, as on a numeric keypad.
class GroupPickModel {
public:
    explicit GroupPickModel(std::vector<std::string> groups);

    // The group's name, or the button's digit when no group was found for it.
    std::string Caption(int button) const;
    bool IsEnabled(int button) const;
    // The group that button picks; none when it is disabled or no button.
    std::optional<std::string> Pick(int button) const;

private:
    std::vector<std::string> m_offered;
};

// Button of a digit key, on the main keyboard or the numeric keypad; -1 for other keys.
int PickButtonForKey(unsigned virtualKey);

// Control text that shows name as it is: "&" would otherwise underline the next letter.
std::string EscapeMnemonics(std::string_view name);

}  // namespace zz
