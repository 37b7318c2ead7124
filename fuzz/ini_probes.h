#pragma once
// Names to look up in a settings file before and after it is changed: the program's own and
// whatever the file's lines seem to name. Rough on purpose: any names do, as long as the same
// ones are read each time.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/codepage932.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "settings/text_encoding.h"

namespace zz::fuzz {

struct Probe {
    std::string section;
    std::string key;
};

inline std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Names compare without regard to the case of ASCII letters.
inline bool SameName(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return fold(x) == fold(y); });
}

// A name as it reads back after a write: through the file's encoding and without its blanks.
inline std::string StoredName(std::string_view name, TextEncoding encoding) {
    return std::string(TrimBlanks(DecodeText(EncodeText(TrimBlanks(name), encoding), encoding)));
}

inline void AddUnique(std::vector<std::string>& names, std::string_view name, std::size_t limit) {
    if (names.size() < limit && std::find(names.begin(), names.end(), name) == names.end()) {
        names.emplace_back(name);
    }
}

inline std::vector<Probe> ProbesOf(std::string_view fileBytes,
                                   const std::vector<std::string>& extraSections,
                                   const std::vector<std::string>& extraKeys) {
    constexpr std::size_t kLimit = 8;
    std::vector<std::string> sections(extraSections);
    std::vector<std::string> names(extraKeys);
    sections.emplace_back(keys::kSettingsSection);
    sections.emplace_back(keys::kSoundFileSection);
    names.emplace_back(keys::kTitle);
    names.emplace_back(keys::kGroup);
    const DetectedEncoding detected = DetectEncoding(fileBytes);
    const std::string text = DecodeText(fileBytes.substr(detected.markLength), detected.encoding);
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t newline = std::min(rest.find_first_of("\r\n"), rest.size());
        const std::string_view line = TrimBlanks(rest.substr(0, newline));
        rest.remove_prefix(std::min(newline + 1, rest.size()));
        const std::size_t close = line.rfind(']');
        if (!line.empty() && line.front() == '[' && close != std::string_view::npos) {
            AddUnique(sections, line.substr(1, close - 1), kLimit);
        } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            AddUnique(names, TrimBlanks(line.substr(0, equals)), kLimit);
        }
    }
    std::vector<Probe> probes;
    for (const std::string& section : sections) {
        for (const std::string& key : names) {
            probes.push_back({section, key});
        }
    }
    return probes;
}

inline std::vector<std::optional<std::string>> ReadProbes(const IniFile& ini,
                                                          const std::vector<Probe>& probes) {
    std::vector<std::optional<std::string>> values;
    values.reserve(probes.size());
    for (const Probe& probe : probes) {
        values.push_back(ini.Find(probe.section, probe.key));
    }
    return values;
}

}  // namespace zz::fuzz
