#include "dialogs/group_choice.h"

#include <algorithm>
#include <utility>

#include "settings/media_library.h"

namespace zz {

namespace {

constexpr unsigned kKeyDigit0 = 0x30;
constexpr unsigned kKeyNumpad0 = 0x60;

std::vector<std::string> Offered(std::vector<std::string> groups) {
    if (groups.size() > static_cast<size_t>(kMaxGroups)) {
        groups.resize(kMaxGroups);
    }
    return groups;
}

}  // namespace

GroupSelectModel::GroupSelectModel(std::vector<std::string> groups, std::string_view current,
                                   TextEncoding encoding)
    : m_allGroups(groups), m_offered(Offered(std::move(groups))), m_encoding(encoding) {
    const auto it = std::find(m_offered.begin(), m_offered.end(), current);
    if (current == kGroupChooseAtStart) {
        m_nCheckedRadio = 1;
    } else if (it != m_offered.end()) {
        m_nCheckedRadio = kFirstGroupRadio + static_cast<int>(it - m_offered.begin());
    }
}

std::string GroupSelectModel::GroupName(int radio) const {
    return radio >= kFirstGroupRadio && IsVisible(radio)
               ? m_offered[static_cast<size_t>(radio - kFirstGroupRadio)]
               : std::string();
}

bool GroupSelectModel::IsVisible(int radio) const {
    return radio >= 0 && radio < kFirstGroupRadio + static_cast<int>(m_offered.size());
}

std::optional<std::string> GroupSelectModel::ValueOf(int radio) const {
    if (!IsVisible(radio)) {
        return std::nullopt;
    }
    return radio == 1 ? std::string(kGroupChooseAtStart) : GroupName(radio);
}

std::vector<std::string> GroupSelectModel::Collisions(int radio) const {
    const std::optional<std::string> value = ValueOf(radio);
    if (!value || !IsSingleGroup(*value)) {
        return {};
    }
    std::vector<std::string> sharing = SharingStoredForm(m_allGroups, *value, m_encoding, false);
    if (!sharing.empty()) {
        sharing.insert(sharing.begin(), *value);
    }
    return sharing;
}

GroupPickModel::GroupPickModel(std::vector<std::string> groups)
    : m_offered(Offered(std::move(groups))) {}

std::string GroupPickModel::Caption(int button) const {
    if (IsEnabled(button)) {
        return m_offered[static_cast<size_t>(button)];
    }
    return std::to_string((button + 1) % 10);
}

bool GroupPickModel::IsEnabled(int button) const {
    return button >= 0 && button < static_cast<int>(m_offered.size());
}

std::optional<std::string> GroupPickModel::Pick(int button) const {
    if (!IsEnabled(button)) {
        return std::nullopt;
    }
    return m_offered[static_cast<size_t>(button)];
}

int PickButtonForKey(unsigned virtualKey) {
    unsigned digit = 10;
    if (virtualKey >= kKeyDigit0 && virtualKey <= kKeyDigit0 + 9) {
        digit = virtualKey - kKeyDigit0;
    } else if (virtualKey >= kKeyNumpad0 && virtualKey <= kKeyNumpad0 + 9) {
        digit = virtualKey - kKeyNumpad0;
    }
    if (digit > 9) {
        return -1;
    }
    return digit == 0 ? 9 : static_cast<int>(digit) - 1;
}

std::string EscapeMnemonics(std::string_view name) {
    std::string text;
    for (const char c : name) {
        if (c == '&') {
            text.push_back('&');
        }
        text.push_back(c);
    }
    return text;
}

}  // namespace zz
