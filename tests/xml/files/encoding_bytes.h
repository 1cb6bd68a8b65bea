// Byte images of text in the encodings the file tests write.
#pragma once

#include <string>
#include <string_view>

namespace xml_test {

inline std::string Utf16Le(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

inline std::string Utf16Be(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

inline std::string Utf32Le(std::u32string_view text) {
    std::string bytes;
    for (char32_t c : text) {
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((c >> shift) & 0xFF);
    }
    return bytes;
}

}  // namespace xml_test
