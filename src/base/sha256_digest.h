// A SHA-256 digest and its text form: 64 hexadecimal digits, in either
// letter case, as manifests and version descriptors give it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using Sha256Digest = std::array<uint8_t, 32>;

// The digest that `text` spells; nullopt unless it is exactly 64 hex
// digits (no blanks, no prefix).
inline std::optional<Sha256Digest> ParseSha256Digest(std::wstring_view text)
{
    if (text.size() != 64)
        return std::nullopt;
    auto nibble = [](wchar_t c) -> int {
        if (c >= L'0' && c <= L'9')
            return c - L'0';
        if (c >= L'a' && c <= L'f')
            return c - L'a' + 10;
        if (c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        return -1;
    };
    Sha256Digest digest{};
    for (size_t i = 0; i < 32; ++i) {
        int high = nibble(text[2 * i]);
        int low = nibble(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        digest[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return digest;
}

// Lower-case hex, for the log.
inline std::wstring Sha256DigestText(const Sha256Digest& digest)
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    text.reserve(64);
    for (uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}
