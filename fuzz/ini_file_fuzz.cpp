// The INI reader and writer, and the settings record, on any bytes in any of the file's
// encodings: the lines a write does not own survive byte for byte, a read fits the reader's
// buffer on one line, a written value reads back under the name it was written with, the file
// keeps its encoding, no other key's value changes, and what was written parses to the same
// file and values. Loading the record never writes, and saving what was loaded keeps the
// encoding, reads back as loaded and writes the same bytes when saved again.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <optional>

#include "fuzz/fuzz_check.h"
#include "settings/app_settings.h"
#include "settings/ascii.h"
#include "settings/codepage932.h"
#include "settings/ini_file.h"
#include "tests/support/memory_tree.h"

namespace {

using Probe = std::pair<std::string, std::string>;  // section, key
using Reads = std::vector<std::optional<std::string>>;

// Names to look up before and after a change: the given ones, the program's own and whatever
// the file's lines seem to name. Rough on purpose: any names do, as long as the same ones are
// read each time.
std::vector<Probe> ProbesOf(std::string_view fileBytes, std::vector<std::string> sections,
                            std::vector<std::string> keys) {
    sections.insert(sections.end(),
                    {std::string(zz::kSettingsSection), std::string(zz::kSoundMapSection)});
    keys.insert(keys.end(), {"タイトル", "グループ"});
    const zz::DetectedEncoding detected = zz::DetectEncoding(fileBytes);
    const std::string text =
        zz::DecodeText(fileBytes.substr(detected.markLength), detected.encoding);
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

Reads Read(const zz::IniFile& ini, const std::vector<Probe>& probes) {
    Reads reads;
    for (const auto& [section, key] : probes) {
        reads.push_back(ini.Find(section, key));
    }
    return reads;
}

// Names are matched without the case of ASCII letters, in the form the file holds them.
bool SameStoredName(std::string_view probe, std::string_view name, zz::TextEncoding encoding) {
    return zz::EqualsIgnoringAsciiCase(zz::KeyForm(probe, encoding), zz::KeyForm(name, encoding));
}

// The format drops blanks around a value and one pair of quotes, as the platform's profile
// functions do: such a text cannot come back the same.
bool SurvivesTheFormat(std::string_view text) {
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                        text.back() == text.front();
    const std::string_view blanks = " \t\r\n\v\f";
    return !quoted && (text.empty() || (blanks.find(text.front()) == std::string_view::npos &&
                                        blanks.find(text.back()) == std::string_view::npos));
}

// Whether a read gives the value whole on one line; the profile reader's buffer counts UTF-16
// units of a Unicode file, else bytes.
bool FitsOneRead(const std::string& value, zz::TextEncoding encoding) {
    const std::size_t units = encoding == zz::TextEncoding::kCp932
                                  ? zz::Utf8ToCp932(value).size()
                                  : zz::EncodeText(value, zz::TextEncoding::kUtf16Le).size() / 2;
    return units <= zz::IniFile::kMaxValueBytes &&
           value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

// A save writes only the record's own section: what it keeps is what any write keeps.
void CheckTheRecord(const std::string& bytes, zz::TextEncoding encoding) {
    zz::test::MemoryTree folder;  // the settings file and nothing else
    zz::CAppSettings store(folder.Root(), folder);
    folder.File("Zoomzap.ini");
    folder.ReplaceFile(store.IniPath(), bytes);
    const zz::Settings loaded = store.Load();
    ZZ_FUZZ_CHECK(folder.Replaced() == 1);  // loading never writes
    store.Save(loaded);
    std::string saved, again;
    folder.ReadFile(store.IniPath(), saved);
    ZZ_FUZZ_CHECK(loaded.encoding == encoding && zz::IniFile(saved).Encoding() == encoding);
    const auto& names = loaded.pictureOrder;
    if (SurvivesTheFormat(loaded.title) && SurvivesTheFormat(loaded.group) &&
        std::all_of(names.begin(), names.end(), SurvivesTheFormat)) {
        ZZ_FUZZ_CHECK(store.Load() == loaded);
        store.Save(store.Load());
        ZZ_FUZZ_CHECK(folder.ReadFile(store.IniPath(), again) && again == saved);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(64);
    const std::string key = in.ConsumeRandomLengthString(64);
    const std::string value = in.ConsumeRandomLengthString(400);
    const int number = in.ConsumeIntegral<int>();
    const std::string bytes = in.ConsumeRemainingBytesAsString();

    zz::IniFile ini(bytes);
    ZZ_FUZZ_CHECK(ini.Bytes() == bytes);
    const zz::TextEncoding encoding = ini.Encoding();
    const std::string numberKey = key + "#";
    // Names the encoding cannot hold are found again through the form it holds them in.
    const auto probes = ProbesOf(bytes, {section, zz::KeyForm(section, encoding)},
                                 {key, numberKey, zz::KeyForm(key, encoding)});
    const Reads before = Read(ini, probes);
    for (const auto& read : before) {
        ZZ_FUZZ_CHECK(!read || FitsOneRead(*read, encoding));
    }
    CheckTheRecord(bytes, encoding);

    bool lossless = false;
    zz::EncodeText(value, encoding, &lossless);
    if (!ini.SetString(section, key, value)) {
        ZZ_FUZZ_CHECK(ini.Bytes() == bytes);  // refused means untouched
    } else if (lossless && FitsOneRead(value, encoding) && SurvivesTheFormat(value)) {
        ZZ_FUZZ_CHECK(ini.Find(section, key) == value);
    }
    if (ini.SetString(section, numberKey, std::to_string(number))) {
        ZZ_FUZZ_CHECK(ini.GetInt(section, numberKey, number == 0 ? 1 : 0) == number);
    }

    const Reads after = Read(ini, probes);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        const auto& [probeSection, probeKey] = probes[i];
        const bool written = SameStoredName(probeSection, section, encoding) &&
                             (SameStoredName(probeKey, key, encoding) ||
                              SameStoredName(probeKey, numberKey, encoding));
        ZZ_FUZZ_CHECK(written || after[i] == before[i]);
    }
    const zz::IniFile again(ini.Bytes());
    ZZ_FUZZ_CHECK(again.Bytes() == ini.Bytes() && again.Encoding() == encoding);
    ZZ_FUZZ_CHECK(Read(again, probes) == after);
    return 0;
}
