#include "dialogs/typed_values.h"

#include <algorithm>
#include <climits>

namespace zz {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameFolded(std::string_view entry, std::string_view text) {
    return std::equal(entry.begin(), entry.end(), text.begin(), text.end(),
                      [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

}  // namespace

int ParseTypedNumber(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Accumulated as a negative number, whose range holds INT_MIN as well.
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = std::max(value * 10 - (text[pos] - '0'), static_cast<long long>(INT_MIN) - 1);
    }
    if (negative) {
        return static_cast<int>(std::max(value, static_cast<long long>(INT_MIN)));
    }
    return static_cast<int>(std::min(-value, static_cast<long long>(INT_MAX)));
}

int FindComboEntry(std::span<const std::string_view> entries, std::string_view text) {
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](std::string_view entry) { return SameFolded(entry, text); });
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

std::string QuotedLines(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text.append("\n「").append(name).append("」");
    }
    return text;
}

}  // namespace zz
