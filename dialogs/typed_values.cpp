#include "dialogs/typed_values.h"

#include <algorithm>

#include "settings/ascii.h"
#include "settings/ini_file.h"

namespace zz {

int ParseTypedNumber(std::string_view text) {
    // What the settings file's reader would take from it once stored.
    const std::size_t first = text.find_first_not_of(" \t\r\n\v\f");
    return ParseProfileInt(first == std::string_view::npos ? "" : text.substr(first));
}

int FindComboEntry(std::span<const std::string_view> entries, std::string_view text) {
    const auto it = std::find_if(entries.begin(), entries.end(), [&](std::string_view entry) {
        return EqualsIgnoringAsciiCase(entry, text);
    });
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

}  // namespace zz
