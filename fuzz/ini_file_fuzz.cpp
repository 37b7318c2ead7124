// The INI reader and writer on any bytes, in any of its encodings: the lines it does not own
// survive byte for byte, a written value reads back under the name it was written with, the
// file keeps its encoding, and writing one key and parsing the result again changes no other
// key's value.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/ini_probes.h"

namespace {

using zz::IniFile;
using zz::fuzz::Probe;

// Code units of UTF-16 for a Unicode file, bytes of code page 932 otherwise: what the
// profile reader's buffer counts.
std::size_t BufferUnits(const std::string& value, zz::TextEncoding encoding) {
    if (encoding == zz::TextEncoding::kCp932) {
        return zz::Utf8ToCp932(value).size();
    }
    return zz::EncodeText(value, zz::TextEncoding::kUtf16Le).size() / 2;
}

// What any read gives: a value the profile reader's buffer holds, on one line.
void CheckValue(const std::string& value, zz::TextEncoding encoding) {
    ZZ_FUZZ_CHECK(BufferUnits(value, encoding) <= IniFile::kMaxValueBytes);
    ZZ_FUZZ_CHECK(value.find_first_of(std::string("\n\0", 2)) == std::string::npos);
}

// A value that reads back exactly as written: the format drops blanks around it and one pair
// of quotes, and cannot hold line breaks or more than the reader's buffer; the encoding
// must hold every character.
bool ReadsBackAsWritten(const std::string& value, zz::TextEncoding encoding) {
    bool lossless = false;
    zz::EncodeText(value, encoding, &lossless);
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return lossless && BufferUnits(value, encoding) <= IniFile::kMaxValueBytes && !quoted &&
           zz::fuzz::TrimBlanks(value) == value &&
           value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

// Whether a probe names what was written: names are matched in the form the file holds them.
bool IsWritten(const Probe& probe, const std::string& section, const std::string& key,
               zz::TextEncoding encoding) {
    using zz::fuzz::SameName;
    using zz::fuzz::StoredName;
    return SameName(StoredName(probe.section, encoding), StoredName(section, encoding)) &&
           SameName(StoredName(probe.key, encoding), StoredName(key, encoding));
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
    const zz::TextEncoding encoding = ini.Encoding();

    const std::string numberKey = key + "#";
    const auto probes =
        zz::fuzz::ProbesOf(bytes, {section, zz::fuzz::StoredName(section, encoding)},
                           {key, numberKey, zz::fuzz::StoredName(key, encoding)});
    const auto before = zz::fuzz::ReadProbes(ini, probes);
    for (const auto& read : before) {
        if (read) {
            CheckValue(*read, encoding);
        }
    }

    // Names the encoding cannot hold are found again through the form it holds them in.
    if (!ini.SetString(section, key, value)) {
        ZZ_FUZZ_CHECK(ini.Bytes() == bytes);  // refused means untouched
    } else if (ReadsBackAsWritten(value, encoding)) {
        ZZ_FUZZ_CHECK(ini.Find(section, key) == value);
    }
    if (ini.SetString(section, numberKey, std::to_string(number))) {
        ZZ_FUZZ_CHECK(ini.GetInt(section, numberKey, number == 0 ? 1 : 0) == number);
    }
    ZZ_FUZZ_CHECK(ini.Bytes().starts_with(zz::ByteOrderMark(encoding)));

    const auto after = zz::fuzz::ReadProbes(ini, probes);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        if (!IsWritten(probes[i], section, key, encoding) &&
            !IsWritten(probes[i], section, numberKey, encoding)) {
            ZZ_FUZZ_CHECK(after[i] == before[i]);
        }
    }

    // What was written parses to the same file and the same values.
    const std::string written = ini.Bytes();
    const IniFile again(written);
    ZZ_FUZZ_CHECK(again.Bytes() == written);
    ZZ_FUZZ_CHECK(again.Encoding() == encoding);
    ZZ_FUZZ_CHECK(zz::fuzz::ReadProbes(again, probes) == after);
    return 0;
}
