// The INI reader and writer on any bytes: the lines it does not own survive byte for byte, a
// written value reads back, and writing one key and parsing the result again changes no
// other key's value.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/ini_probes.h"

namespace {

using zz::IniFile;
using zz::fuzz::Probe;

// What any read gives: a value the profile reader's buffer holds, on one line.
void CheckValue(const std::string& value) {
    ZZ_FUZZ_CHECK(zz::Utf8ToCp932(value).size() <= IniFile::kMaxValueBytes);
    ZZ_FUZZ_CHECK(value.find_first_of(std::string("\n\0", 2)) == std::string::npos);
}

// A value that reads back exactly as written: the format drops blanks around it and one pair
// of quotes, and cannot hold line breaks or more than the reader's buffer.
bool ReadsBackAsWritten(const std::string& value) {
    bool lossless = false;
    const std::string bytes = zz::Utf8ToCp932(value, &lossless);
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return lossless && bytes.size() <= IniFile::kMaxValueBytes && !quoted &&
           zz::fuzz::TrimBlanks(value) == value &&
           value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

bool NamesEncodeLosslessly(const std::string& section, const std::string& key) {
    bool sectionLossless = false;
    bool keyLossless = false;
    zz::Utf8ToCp932(section, &sectionLossless);
    zz::Utf8ToCp932(key, &keyLossless);
    return sectionLossless && keyLossless;
}

bool IsWritten(const Probe& probe, const std::string& section, const std::string& key) {
    using zz::fuzz::SameName;
    using zz::fuzz::TrimBlanks;
    const bool sameSection = SameName(TrimBlanks(probe.section), TrimBlanks(section)) ||
                             SameName(TrimBlanks(probe.section), zz::fuzz::StoredName(section));
    const bool sameKey = SameName(TrimBlanks(probe.key), TrimBlanks(key)) ||
                         SameName(TrimBlanks(probe.key), zz::fuzz::StoredName(key));
    return sameSection && sameKey;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(64);
    const std::string key = in.ConsumeRandomLengthString(64);
    const std::string value = in.ConsumeRandomLengthString(400);
    const int number = in.ConsumeIntegral<int>();
    const std::string bytes = in.ConsumeRemainingBytesAsString();

    IniFile ini(bytes);
    ZZ_FUZZ_CHECK(ini.Bytes() == bytes);

    const std::string numberKey = key + "#";
    const auto probes = zz::fuzz::ProbesOf(bytes, {section, zz::fuzz::StoredName(section)},
                                           {key, numberKey, zz::fuzz::StoredName(key)});
    const auto before = zz::fuzz::ReadProbes(ini, probes);
    for (const auto& read : before) {
        if (read) {
            CheckValue(*read);
        }
    }

    if (!ini.SetString(section, key, value)) {
        ZZ_FUZZ_CHECK(ini.Bytes() == bytes);  // refused means untouched
    } else if (NamesEncodeLosslessly(section, key) && ReadsBackAsWritten(value)) {
        ZZ_FUZZ_CHECK(ini.Find(section, key) == value);
    }
    if (ini.SetString(section, numberKey, std::to_string(number)) &&
        NamesEncodeLosslessly(section, numberKey)) {
        ZZ_FUZZ_CHECK(ini.GetInt(section, numberKey, number == 0 ? 1 : 0) == number);
    }

    const auto after = zz::fuzz::ReadProbes(ini, probes);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        if (!IsWritten(probes[i], section, key) && !IsWritten(probes[i], section, numberKey)) {
            ZZ_FUZZ_CHECK(after[i] == before[i]);
        }
    }

    // What was written parses to the same file and the same values.
    const std::string written = ini.Bytes();
    const IniFile again(written);
    ZZ_FUZZ_CHECK(again.Bytes() == written);
    ZZ_FUZZ_CHECK(zz::fuzz::ReadProbes(again, probes) == after);
    return 0;
}
