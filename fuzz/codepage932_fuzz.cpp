// Code page 932 conversion on any bytes, read both as code page 932 and as UTF-8: decoding
// gives text the encoder takes back whole, conversions settle after one round, and no
// character turns into ASCII it was not (a yen sign never becomes a path's backslash).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

void CheckDecoding(std::string_view bytes) {
    const std::string text = zz::Cp932ToUtf8(bytes);
    bool lossless = false;
    const std::string encoded = zz::Utf8ToCp932(text, &lossless);
    ZZ_FUZZ_CHECK(lossless);  // what the decoder makes is well-formed and all in the code page
    ZZ_FUZZ_CHECK(zz::Cp932ToUtf8(encoded) == text);
}

void CheckEncoding(std::string_view utf8) {
    bool lossless = false;
    const std::string encoded = zz::Utf8ToCp932(utf8, &lossless);
    const std::string decoded = zz::Cp932ToUtf8(encoded);
    if (lossless) {
        ZZ_FUZZ_CHECK(decoded == utf8);
    }
    ZZ_FUZZ_CHECK(zz::Utf8ToCp932(decoded) == encoded);
    ZZ_FUZZ_CHECK(AsciiOf(decoded) == AsciiOf(utf8));
}

void CheckPrefix(std::string_view bytes, std::size_t maxBytes) {
    const std::string_view prefix = zz::Cp932Prefix(bytes, maxBytes);
    ZZ_FUZZ_CHECK(prefix.data() == bytes.data());
    ZZ_FUZZ_CHECK(prefix.size() <= maxBytes);
    // Characters are one or two bytes: only a two-byte one can be left out at the end.
    ZZ_FUZZ_CHECK(prefix.size() + 1 >= std::min(maxBytes, bytes.size()));
    const std::string whole = zz::Cp932ToUtf8(bytes);
    ZZ_FUZZ_CHECK(whole.starts_with(zz::Cp932ToUtf8(prefix)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckDecoding(bytes);
    CheckEncoding(bytes);
    for (const std::size_t maxBytes :
         {std::size_t{0}, std::size_t{1}, size / 2, size, std::size_t{255}}) {
        CheckPrefix(bytes, maxBytes);
    }
    return 0;
}
