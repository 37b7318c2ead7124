#include "settings/ini_file.h"

#include <algorithm>
#include <cstdint>

#include "settings/codepage932.h"

namespace zz {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::string_view kBlanks = " \t\r\n\v\f";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// UTF-8 keeps every byte of a non-ASCII character above 0x7F, so folding bytes is safe here
// where it would not be in Shift-JIS, whose trail bytes include ASCII letters.
bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

// The name of a section header line: from '[' to the last ']'.
std::optional<std::string_view> SectionName(std::string_view text) {
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return text.substr(1, close - 1);
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

std::optional<KeyLine> SplitKeyLine(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || SectionName(text)) {
        return std::nullopt;
    }
    return KeyLine{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

std::string_view DropQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string CutToMaxBytes(std::string_view value) {
    // UTF-8 never takes fewer bytes than code page 932 for the same text.
    if (value.size() <= IniFile::kMaxValueBytes) {
        return std::string(value);
    }
    return Cp932ToUtf8(Cp932Prefix(Utf8ToCp932(value), IniFile::kMaxValueBytes));
}

bool HoldsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool ValidSectionName(std::string_view name) {
    return !name.empty() && !HoldsLineBreakOrNul(name);
}

// A key line must not read back as a header or split at another '='.
bool ValidKeyName(std::string_view name) {
    return !name.empty() && name.front() != '[' && name.find('=') == std::string_view::npos &&
           !HoldsLineBreakOrNul(name);
}

}  // namespace

IniFile::IniFile(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        const std::size_t length = newline == std::string_view::npos ? bytes.size() : newline + 1;
        m_lines.push_back(MakeLine(std::string(bytes.substr(0, length))));
        bytes.remove_prefix(length);
    }
}

IniFile::Line IniFile::MakeLine(std::string raw) {
    std::string_view content = raw;
    if (!content.empty() && content.back() == '\n') {
        content.remove_suffix(1);
    }
    std::string text = Cp932ToUtf8(content);
    return Line{std::move(raw), std::string(Trim(text))};
}

std::string IniFile::Bytes() const {
    std::string bytes;
    for (const Line& line : m_lines) {
        bytes += line.raw;
    }
    return bytes;
}

std::size_t IniFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = SectionName(m_lines[i].text);
        if (name && SameName(*name, section)) {
            return i;
        }
    }
    return kNone;
}

std::size_t IniFile::SectionEnd(std::size_t header) const {
    std::size_t end = header + 1;
    while (end < m_lines.size() && !SectionName(m_lines[end].text)) {
        ++end;
    }
    return end;
}

std::size_t IniFile::FindKey(std::size_t header, std::size_t end, std::string_view key) const {
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto line = SplitKeyLine(m_lines[i].text);
        if (line && SameName(line->name, key)) {
            return i;
        }
    }
    return kNone;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
    // Like the platform's reader, only the first section of a name counts.
    const std::size_t header = FindSection(Trim(section));
    if (header == kNone) {
        return std::nullopt;
    }
    const std::size_t at = FindKey(header, SectionEnd(header), Trim(key));
    if (at == kNone) {
        return std::nullopt;
    }
    std::string_view value = SplitKeyLine(m_lines[at].text)->value;
    // The reader copies C strings: a NUL in a damaged file ends the value.
    value = value.substr(0, value.find('\0'));
    return CutToMaxBytes(DropQuotes(Trim(value)));
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view def) const {
    std::optional<std::string> value = Find(section, key);
    return value ? std::move(*value) : std::string(def);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int def) const {
    const std::optional<std::string> value = Find(section, key);
    return value && !value->empty() ? ParseProfileInt(*value) : def;
}

void IniFile::EndLine(std::size_t index) {
    if (m_lines[index].raw.back() != '\n') {
        m_lines[index].raw += "\r\n";
    }
}

bool IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (!ValidSectionName(section) || !ValidKeyName(key) || HoldsLineBreakOrNul(value)) {
        return false;
    }
    Line line = MakeLine(Utf8ToCp932(key) + "=" + Utf8ToCp932(value) + "\r\n");
    const std::size_t header = FindSection(section);
    if (header == kNone) {
        if (!m_lines.empty()) {
            EndLine(m_lines.size() - 1);
        }
        m_lines.push_back(MakeLine("[" + Utf8ToCp932(section) + "]\r\n"));
        m_lines.push_back(std::move(line));
        return true;
    }
    const std::size_t end = SectionEnd(header);
    const std::size_t at = FindKey(header, end, key);
    if (at != kNone) {
        m_lines[at] = std::move(line);
        return true;
    }
    // After the section's last entry, so that blank lines before the next section stay there.
    std::size_t insert = end;
    while (insert > header + 1 && m_lines[insert - 1].text.empty()) {
        --insert;
    }
    EndLine(insert - 1);
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insert), std::move(line));
    return true;
}

int ParseProfileInt(std::string_view value) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < value.size() && (value[pos] == '-' || value[pos] == '+')) {
        negative = value[pos] == '-';
        ++pos;
    }
    // Held to int's range rather than wrapped, so a huge number stays large and of its sign.
    const std::int64_t limit = negative ? std::int64_t{2147483648} : std::int64_t{2147483647};
    std::int64_t magnitude = 0;
    for (; pos < value.size() && value[pos] >= '0' && value[pos] <= '9'; ++pos) {
        magnitude = std::min(limit, magnitude * 10 + (value[pos] - '0'));
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace zz
