// The encoding a document names for itself: the "encoding" of an XML
// declaration at its very start, or the charset of an HTML
// <meta http-equiv="Content-Type" content="...; charset=..."> inside <head>.
#pragma once

#include <string>
#include <string_view>

namespace xml {

// The declared encoding name as written, or an empty string when the text
// declares none. Names are compared without regard to ASCII case.
std::wstring GetDeclaredEncoding(std::wstring_view text);

}  // namespace xml
