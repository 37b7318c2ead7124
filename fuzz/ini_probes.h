#pragma once
// Names to look up in a settings file before and after it is changed: the program's own and
// whatever its lines seem to name. Rough on purpose: any names do, as long as the same ones
// are read each time.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "settings/ascii.h"
#include "settings/ini_file.h"
#include "settings/settings_record.h"

namespace zz::fuzz {

using Probe = std::pair<std::string, std::string>;  // section, key
using Reads = std::vector<std::optional<std::string>>;

inline std::vector<Probe> ProbesOf(std::string_view fileBytes, std::vector<std::string> sections,
                                   std::vector<std::string> keys) {
    sections.insert(sections.end(), {std::string(kSettingsSection), std::string(kSoundMapSection)});
    keys.insert(keys.end(), {"タイトル", "グループ"});
    const DetectedEncoding detected = DetectEncoding(fileBytes);
    const std::string text = DecodeText(fileBytes.substr(detected.markLength), detected.encoding);
    for (size_t start = 0, end = 0; start < text.size() && keys.size() + sections.size() < 20;
         start = end + 1) {
        end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string line = text.substr(start, end - start);
        if (line.starts_with('[') && line.find(']') != std::string::npos) {
            sections.push_back(line.substr(1, line.rfind(']') - 1));
        } else if (line.find('=') != std::string::npos) {
            keys.push_back(line.substr(0, line.find('=')));
        }
    }
    std::vector<Probe> probes;
    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            probes.emplace_back(section, key);
        }
    }
    return probes;
}

inline Reads Read(const IniFile& ini, const std::vector<Probe>& probes) {
    Reads reads;
    for (const auto& [section, key] : probes) {
        reads.push_back(ini.Find(section, key));
    }
    return reads;
}

// Whether a probe's name reads what a write under name wrote: names are matched without the
// case of ASCII letters, in the form the file holds them.
inline bool SameStoredName(std::string_view probe, std::string_view name, TextEncoding encoding) {
    return EqualsIgnoringAsciiCase(KeyForm(probe, encoding), KeyForm(name, encoding));
}

// The format drops blanks around a value and one pair of quotes, as the platform's profile
// functions do: such a text cannot come back the same.
inline bool SurvivesTheFormat(std::string_view text) {
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                        text.back() == text.front();
    const std::string_view blanks = " \t\r\n\v\f";
    return !quoted && (text.empty() || (blanks.find(text.front()) == std::string_view::npos &&
                                        blanks.find(text.back()) == std::string_view::npos));
}

}  // namespace zz::fuzz
