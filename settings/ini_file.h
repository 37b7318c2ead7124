#pragma once
// A private-profile (INI) file kept as its lines, read and changed with the semantics of
// Windows' own profile functions, so that either side reads what the other wrote. On disk it
// is code page 932, or UTF-16 or UTF-8 when it starts with a byte-order mark, and it stays in
// the encoding it came in; new lines end in CR LF. Names and values here are UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/text_encoding.h"

namespace zz {

class IniFile {
public:
    // A read of a code page 932 file gives at most this many bytes, as the profile reader's
    // buffer; of a Unicode file at most this many UTF-16 code units.
    static constexpr std::size_t kMaxValueBytes = 255;

    IniFile() = default;
    // The file's bytes as stored on disk.
    explicit IniFile(std::string_view bytes);
    std::string Bytes() const;
    TextEncoding Encoding() const { return m_encoding; }

    // The key's value with the blanks around it removed, one pair of matching quotes dropped
    // and cut to the reader's buffer at a character boundary; nothing when the section or the
    // key is missing. Names match without regard to the case of ASCII letters, in the form
    // the file holds them (see KeyForm).
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view def) const;
    // The value's leading decimal number with an optional sign, held to the range of int;
    // 0 when the value does not start with one; def when the key is missing or empty.
    int GetInt(std::string_view section, std::string_view key, int def) const;

    // Replaces the key's line where it stands, or adds it at the end of its section, or adds
    // the section at the end of the file. Every other line stays byte for byte. False, with
    // nothing changed, for names or values the line form cannot hold.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);

    // Whether a line can hold name as a key: not empty, no "=", not starting with "[", no
    // line break. Blanks around it do not count.
    static bool CanBeKey(std::string_view name);

private:
    struct Line {
        std::string raw;   // bytes on disk, line end included
        std::string text;  // decoded, without the line end and the blanks around it
    };

    Line MakeLine(std::string raw) const;
    std::size_t FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::size_t FindKey(std::size_t header, std::size_t end, std::string_view key) const;
    void EndLine(std::size_t index);

    TextEncoding m_encoding = TextEncoding::kCp932;
    std::vector<Line> m_lines;
};

// What a file of this encoding gives back, on a read, for a key name or a value written to
// it: names and values are matched against what was stored in these forms, so a name the
// code page cannot hold is still found again.
std::string KeyForm(std::string_view name, TextEncoding encoding);
std::string ValueForm(std::string_view value, TextEncoding encoding);

// The integer a profile reader takes from a value (see IniFile::GetInt), 0 without digits.
int ParseProfileInt(std::string_view value);

}  // namespace zz
