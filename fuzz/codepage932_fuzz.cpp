// Code page 932 conversion on any bytes, read both as code page 932 and as UTF-8: decoding
// gives text the encoder takes back whole, conversions settle after one round, no character
// turns into ASCII it was not (a yen sign never becomes a path's backslash), and a prefix
// never ends inside a double-byte character.

#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "settings/codepage932.h"

namespace {

// Every ASCII character but the '?' the encoder writes for what it cannot hold, in order.
std::string AsciiOf(std::string_view text) {
    std::string ascii;
    std::copy_if(text.begin(), text.end(), std::back_inserter(ascii), [](char c) {
        return static_cast<unsigned char>(c) < 0x80 && c != zz::kCp932EncodeDefault;
    });
    return ascii;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = zz::Cp932ToUtf8(bytes);
    bool lossless = false;  // what the decoder makes is well-formed and all in the code page
    ZZ_FUZZ_CHECK(zz::Cp932ToUtf8(zz::Utf8ToCp932(text, &lossless)) == text && lossless);

    const std::string encoded = zz::Utf8ToCp932(bytes, &lossless);
    const std::string decoded = zz::Cp932ToUtf8(encoded);
    ZZ_FUZZ_CHECK(!lossless || decoded == bytes);
    ZZ_FUZZ_CHECK(zz::Utf8ToCp932(decoded) == encoded);
    ZZ_FUZZ_CHECK(AsciiOf(decoded) == AsciiOf(bytes));

    for (const std::size_t max :
         {std::size_t{0}, std::size_t{1}, size / 2, size, std::size_t{255}}) {
        const std::string_view prefix = zz::Cp932Prefix(bytes, max);
        ZZ_FUZZ_CHECK(prefix.data() == bytes.data() && prefix.size() <= max);
        // Characters are one or two bytes: only a two-byte one can be left out at the end.
        ZZ_FUZZ_CHECK(prefix.size() + 1 >= std::min(max, size));
        ZZ_FUZZ_CHECK(text.starts_with(zz::Cp932ToUtf8(prefix)));
    }
    return 0;
}
