#pragma once
// A private-profile (INI) file kept as its lines, read and changed with the semantics of
// Windows' own profile functions, so that either side reads what the other wrote. On disk it
// is code page 932 with CR LF line ends; names and values here are UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zz {

class IniFile {
public:
    // A read gives at most this many bytes of code page 932, as the profile reader's buffer.
    static constexpr std::size_t kMaxValueBytes = 255;

    IniFile() = default;
    // The file's bytes as stored on disk.
    explicit IniFile(std::string_view bytes);
    std::string Bytes() const;

    // The key's value with the blanks around it removed, one pair of matching quotes dropped
    // and cut to kMaxValueBytes at a character boundary; nothing when the section or the key
    // is missing. Names match without regard to the case of ASCII letters.
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

private:
    struct Line {
        std::string raw;   // bytes on disk, line end included
        std::string text;  // decoded, without the line end and the blanks around it
    };

    static Line MakeLine(std::string raw);
    std::size_t FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::size_t FindKey(std::size_t header, std::size_t end, std::string_view key) const;
    void EndLine(std::size_t index);

    std::vector<Line> m_lines;
};

// The integer a profile reader takes from a value (see IniFile::GetInt), 0 without digits.
int ParseProfileInt(std::string_view value);

}  // namespace zz
