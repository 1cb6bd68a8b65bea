// Character references in element text: the named references of HTML 4.01
// plus "apos", and decimal ("&#65;") or hexadecimal ("&#x41;") numeric ones.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

// The value of the named reference `name` (without "&" and ";"), or 0 when
// there is none. Case is ignored, except where two names differ only in case
// ("Auml" and "auml"): each of those gives its own character, and a spelling
// that matches neither exactly gives the capitalised one's.
uint32_t NamedReferenceValue(std::wstring_view name);

// Appends `text` to `out` with its references decoded. A reference is "&",
// at most 9 characters below 128, then ";". Unknown names, the value 0,
// values above 0x10FFFF and surrogate code points are left as written.
// Values above 0xFFFF are written as surrogate pairs (two UTF-16 units).
void AppendDecodedReferences(std::wstring& out, std::wstring_view text);
std::wstring DecodeReferences(std::wstring_view text);

}  // namespace xml
