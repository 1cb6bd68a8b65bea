#include "xml/escaping.h"

namespace xml {
namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsHexDigit(wchar_t c) {
    return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

}  // namespace

bool BeginsReference(std::wstring_view text, size_t at) {
    if (at >= text.size() || text[at] != L'&') return false;
    size_t i = at + 1;
    if (i < text.size() && text[i] == L'#') {
        ++i;
        bool hex = i < text.size() && (text[i] == L'x' || text[i] == L'X');
        if (hex) ++i;
        const size_t digits = i;
        while (i < text.size() && (hex ? IsHexDigit(text[i]) : IsDigit(text[i]))) ++i;
        return i > digits && i < text.size() && text[i] == L';';
    }
    if (i >= text.size() || !IsAsciiLetter(text[i])) return false;
    while (i < text.size() && (IsAsciiLetter(text[i]) || IsDigit(text[i]))) ++i;
    return i < text.size() && text[i] == L';';
}

void AppendEscaped(std::wstring& out, std::wstring_view text, EscapeMode mode,
                   bool keepReferences) {
    const bool attribute = mode == EscapeMode::Attribute;
    size_t plain = 0;  // start of the run not yet copied
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const wchar_t* replacement = nullptr;
        switch (c) {
        case L'<': replacement = L"&lt;"; break;
        case L'>': replacement = L"&gt;"; break;
        case L'&':
            if (!keepReferences || !BeginsReference(text, i)) replacement = L"&amp;";
            break;
        case L'\'': if (attribute) replacement = L"&apos;"; break;
        case L'"': if (attribute) replacement = L"&quot;"; break;
        default: break;
        }
        if (!replacement) continue;
        out.append(text.substr(plain, i - plain));
        out.append(replacement);
        plain = i + 1;
    }
    out.append(text.substr(plain));
}

std::wstring Escape(std::wstring_view text, EscapeMode mode, bool keepReferences) {
    std::wstring out;
    out.reserve(text.size());
    AppendEscaped(out, text, mode, keepReferences);
    return out;
}

}  // namespace xml
