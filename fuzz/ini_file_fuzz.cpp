// The INI reader and writer on any bytes, in any of its encodings: the lines it does not own
// survive byte for byte, a read fits the reader's buffer on one line, a written value reads
// back under the name it was written with, the file keeps its encoding, no other key's value
// changes, and what was written parses to the same file and values.

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/fuzz_check.h"
#include "fuzz/ini_probes.h"
#include "settings/codepage932.h"

namespace {

// Whether a read gives the value whole on one line; the profile reader's buffer counts UTF-16
// units of a Unicode file, else bytes.
bool FitsOneRead(const std::string& value, zz::TextEncoding encoding) {
    const std::size_t units = encoding == zz::TextEncoding::kCp932
                                  ? zz::Utf8ToCp932(value).size()
                                  : zz::EncodeText(value, zz::TextEncoding::kUtf16Le).size() / 2;
    return units <= zz::IniFile::kMaxValueBytes &&
           value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
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
    const auto probes = zz::fuzz::ProbesOf(bytes, {section, zz::KeyForm(section, encoding)},
                                           {key, numberKey, zz::KeyForm(key, encoding)});
    const zz::fuzz::Reads before = zz::fuzz::Read(ini, probes);
    for (const auto& read : before) {
        ZZ_FUZZ_CHECK(!read || FitsOneRead(*read, encoding));
    }

    bool lossless = false;
    zz::EncodeText(value, encoding, &lossless);
    if (!ini.SetString(section, key, value)) {
        ZZ_FUZZ_CHECK(ini.Bytes() == bytes);  // refused means untouched
    } else if (lossless && FitsOneRead(value, encoding) && zz::fuzz::SurvivesTheFormat(value)) {
        ZZ_FUZZ_CHECK(ini.Find(section, key) == value);
    }
    if (ini.SetString(section, numberKey, std::to_string(number))) {
        ZZ_FUZZ_CHECK(ini.GetInt(section, numberKey, number == 0 ? 1 : 0) == number);
    }
    ZZ_FUZZ_CHECK(ini.Bytes().starts_with(zz::ByteOrderMark(encoding)));

    const zz::fuzz::Reads after = zz::fuzz::Read(ini, probes);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        const auto& [probeSection, probeKey] = probes[i];
        const bool written = zz::fuzz::SameStoredName(probeSection, section, encoding) &&
                             (zz::fuzz::SameStoredName(probeKey, key, encoding) ||
                              zz::fuzz::SameStoredName(probeKey, numberKey, encoding));
        ZZ_FUZZ_CHECK(written || after[i] == before[i]);
    }
    const zz::IniFile again(ini.Bytes());
    ZZ_FUZZ_CHECK(again.Bytes() == ini.Bytes() && again.Encoding() == encoding);
    ZZ_FUZZ_CHECK(zz::fuzz::Read(again, probes) == after);
    return 0;
}
