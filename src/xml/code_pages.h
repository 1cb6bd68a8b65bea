// Encoding names and the Windows code pages they stand for.
//
// CodePageOf turns the name an XML declaration (or a byte-order mark) gives
// into a code page number for the conversion routine. Besides real code
// pages it answers three special values: 0 for an empty name (the system's
// ANSI code page), -1 for a name it does not know, and 65005 for any name
// that begins with "UTF-32" in exactly these capitals, which selects 32-bit
// code points. Names are compared without regard to ASCII case.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace xml {

constexpr int32_t kAnsiCodePage = 0;
constexpr int32_t kUnknownCodePage = -1;
constexpr int32_t kUtf16CodePage = 1200;
constexpr int32_t kUtf7CodePage = 65000;
constexpr int32_t kUtf8CodePage = 65001;
constexpr int32_t kUtf32CodePoints = 65005;

// Names of 100 characters or more are never looked up.
constexpr size_t kMaxEncodingNameLength = 99;

struct CodePageName {
    std::string_view name;  // lower case ASCII
    int32_t codePage;
};

// The table behind CodePageOf, in the order it is written.
std::span<const CodePageName> CodePageNames();

int32_t CodePageOf(std::wstring_view name);

}  // namespace xml
