// Escaping of text written into markup.
//
// Text mode replaces "<", "&" and ">" by "&lt;", "&amp;" and "&gt;";
// attribute mode also replaces "'" by "&apos;" and '"' by "&quot;". With
// keepReferences, an "&" that begins a well-formed named or numeric
// reference ending in ";" ("&name;", "&#123;", "&#x1F;") is copied
// unchanged, so text that already holds references is not escaped twice.
#pragma once

#include <string>
#include <string_view>

namespace xml {

enum class EscapeMode { Text, Attribute };

void AppendEscaped(std::wstring& out, std::wstring_view text, EscapeMode mode,
                   bool keepReferences = false);
std::wstring Escape(std::wstring_view text, EscapeMode mode, bool keepReferences = false);

// True when text[at] is an "&" that begins a well-formed reference.
bool BeginsReference(std::wstring_view text, size_t at);

}  // namespace xml
