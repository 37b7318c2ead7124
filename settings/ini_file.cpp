#include "settings/ini_file.h"

#include <algorithm>
#include <cstdint>

#include "settings/ascii.h"
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

// The name of a section header line: from '[' to the last ']', blanks inside dropped, as the
// platform reads "[ 設定 ]".
std::optional<std::string_view> SectionName(std::string_view text) {
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(text.substr(1, close - 1));
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

// At most 255 UTF-16 code units, never half of a surrogate pair.
std::string CutToMaxUnits(std::string_view value) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < value.size();) {
        std::size_t length = 1;
        const char32_t cp = NextCodePoint(value, pos, length);
        units += cp != kInvalidCodePoint && cp >= 0x10000 ? 2 : 1;
        if (units > IniFile::kMaxValueBytes) {
            return std::string(value.substr(0, pos));
        }
        pos += length;
    }
    return std::string(value);
}

// What the reader's buffer of 256 holds of a value.
std::string CutToBuffer(std::string_view value, TextEncoding encoding) {
    if (encoding != TextEncoding::kCp932) {
        return CutToMaxUnits(value);
    }
    // UTF-8 never takes fewer bytes than code page 932 for the same text.
    if (value.size() <= IniFile::kMaxValueBytes) {
        return std::string(value);
    }
    return Cp932ToUtf8(Cp932Prefix(Utf8ToCp932(value), IniFile::kMaxValueBytes));
}

// What a read makes of a value as it stands on its line.
std::string ReadValue(std::string_view value, TextEncoding encoding) {
    value = Trim(value);
    // The reader copies C strings: a NUL in a damaged file ends the value.
    value = Trim(value.substr(0, value.find('\0')));
    return CutToBuffer(DropQuotes(value), encoding);
}

bool HoldsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool ValidSectionName(std::string_view name) {
    return !name.empty() && !HoldsLineBreakOrNul(name);
}

// Where the line that starts at pos ends, its line end included: after LF, CR LF, or a CR
// alone, as the platform splits lines.
std::size_t LineLength(std::string_view bytes, std::size_t pos, TextEncoding encoding) {
    const std::size_t unit = UnitSize(encoding);
    for (std::size_t at = pos; at + unit <= bytes.size(); at += unit) {
        const char32_t c = UnitAt(bytes, at, encoding);
        if (c == '\n') {
            return at + unit - pos;
        }
        if (c == '\r') {
            const bool lf =
                at + 2 * unit <= bytes.size() && UnitAt(bytes, at + unit, encoding) == '\n';
            return at + (lf ? 2 : 1) * unit - pos;
        }
    }
    return bytes.size() - pos;
}

}  // namespace

IniFile::IniFile(std::string_view bytes) {
    const DetectedEncoding detected = DetectEncoding(bytes);
    m_encoding = detected.encoding;
    std::size_t pos = 0;
    if (detected.markLength > 0) {
        // The mark is a line of its own, with no text, so that it is written back as it was.
        m_lines.push_back(Line{std::string(bytes.substr(0, detected.markLength)), {}});
        pos = detected.markLength;
    }
    while (pos < bytes.size()) {
        const std::size_t length = LineLength(bytes, pos, m_encoding);
        m_lines.push_back(MakeLine(std::string(bytes.substr(pos, length))));
        pos += length;
    }
}

IniFile::Line IniFile::MakeLine(std::string raw) const {
    // The line end goes with the blanks around the text.
    const std::string text = DecodeText(raw, m_encoding);
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
        if (name && EqualsIgnoringAsciiCase(*name, section)) {
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
        if (line && EqualsIgnoringAsciiCase(line->name, key)) {
            return i;
        }
    }
    return kNone;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
    // Like the platform's reader, only the first section of a name counts.
    const std::size_t header = FindSection(KeyForm(section, m_encoding));
    if (header == kNone) {
        return std::nullopt;
    }
    const std::size_t at = FindKey(header, SectionEnd(header), KeyForm(key, m_encoding));
    if (at == kNone) {
        return std::nullopt;
    }
    return ReadValue(SplitKeyLine(m_lines[at].text)->value, m_encoding);
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
    std::string& raw = m_lines[index].raw;
    if (index == 0 && raw == ByteOrderMark(m_encoding)) {
        return;  // the mark alone needs no line end
    }
    const std::size_t unit = UnitSize(m_encoding);
    if (raw.size() % unit != 0) {
        raw += '\0';  // completes a damaged last code unit, so that what follows stays aligned
    }
    const char32_t last = raw.size() < unit ? 0 : UnitAt(raw, raw.size() - unit, m_encoding);
    if (last != '\n' && last != '\r') {
        raw += EncodeText("\r\n", m_encoding);
    }
}

bool IniFile::CanBeKey(std::string_view name) {
    // A key line must not read back as a header or split at another '='.
    name = Trim(name);
    return !name.empty() && name.front() != '[' && name.find('=') == std::string_view::npos &&
           !HoldsLineBreakOrNul(name);
}

bool IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (!ValidSectionName(section) || !CanBeKey(key) || HoldsLineBreakOrNul(value)) {
        return false;
    }
    Line line =
        MakeLine(EncodeText(std::string(key) + "=" + std::string(value) + "\r\n", m_encoding));
    const std::size_t header = FindSection(KeyForm(section, m_encoding));
    if (header == kNone) {
        if (!m_lines.empty()) {
            EndLine(m_lines.size() - 1);
        }
        m_lines.push_back(MakeLine(EncodeText("[" + std::string(section) + "]\r\n", m_encoding)));
        m_lines.push_back(std::move(line));
        return true;
    }
    const std::size_t end = SectionEnd(header);
    const std::size_t at = FindKey(header, end, KeyForm(key, m_encoding));
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

std::string KeyForm(std::string_view name, TextEncoding encoding) {
    return std::string(Trim(EncodingForm(Trim(name), encoding)));
}

std::string ValueForm(std::string_view value, TextEncoding encoding) {
    return ReadValue(EncodingForm(value, encoding), encoding);
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
