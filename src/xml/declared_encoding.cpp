#include "xml/declared_encoding.h"

#include <algorithm>

#include "xml/node_scanner.h"
#include "xml/tag_attributes.h"

namespace xml {
namespace {

bool IsCharsetEnd(wchar_t c) {
    switch (c) {
    case L' ': case L'\t': case L'\n': case L'\r':
    case L'"': case L'\'': case L'<': case L'>': case L'=':
    case L'\\': case L'/': case L'?': case L'!': case L';':
        return true;
    default:
        return false;
    }
}

wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c; }

std::wstring_view NodeName(std::wstring_view text, const ScannedNode& node) {
    return text.substr(node.nameStart, node.nameLength);
}

std::wstring_view ValueOf(std::wstring_view text, const TagAttribute& attribute) {
    return text.substr(attribute.valueStart, attribute.valueLength);
}

// The value of attribute `name` of a tag whose attributes lie in
// [from, end), if it has one.
bool AttributeValue(std::wstring_view text, int32_t from, int32_t end, std::wstring_view name,
                    std::wstring_view& value) {
    const auto attribute = FindTagAttribute(text, from, end, name, true);
    if (!attribute) return false;
    value = ValueOf(text, *attribute);
    return true;
}

// The token after the first "charset=" inside a content value.
std::wstring CharsetOf(std::wstring_view content) {
    constexpr std::wstring_view kCharset = L"charset";
    for (size_t i = 0; i + kCharset.size() < content.size(); ++i) {
        size_t k = 0;
        while (k < kCharset.size() && Lower(content[i + k]) == kCharset[k]) ++k;
        if (k < kCharset.size() || content[i + k] != L'=') continue;
        const size_t begin = i + k + 1;
        size_t end = begin;
        while (end < content.size() && !IsCharsetEnd(content[end])) ++end;
        return std::wstring(content.substr(begin, end - begin));
    }
    return {};
}

}  // namespace

std::wstring GetDeclaredEncoding(std::wstring_view text) {
    const int32_t end = static_cast<int32_t>(std::min<size_t>(text.size(), INT32_MAX));
    bool seenStartTag = false;
    int32_t position = 0;
    for (;;) {
        const ScannedNode node = ScanNode(text, position, end);
        const int32_t nodeEnd = node.start + node.length;
        const int32_t attributesFrom = node.nameStart + node.nameLength;
        switch (node.type) {
        case NodeEndOfText:
        case NodeError:
            return {};
        case NodeProcessingInstruction:
            if (node.start == 0 && NamesEqual(NodeName(text, node), L"xml", true)) {
                std::wstring_view value;
                if (!AttributeValue(text, attributesFrom, nodeEnd - 2, L"encoding", value))
                    return {};
                return std::wstring(value);
            }
            break;
        case NodeElement: {
            const std::wstring_view name = NodeName(text, node);
            if (!seenStartTag) {
                seenStartTag = true;
                if (!NamesEqual(name, L"html", true)) return {};
                break;
            }
            if (!NamesEqual(name, L"meta", true)) break;
            const int32_t attributesEnd = nodeEnd - ((node.flags & kEmptyElement) ? 2 : 1);
            std::wstring_view httpEquiv;
            if (!AttributeValue(text, attributesFrom, attributesEnd, L"http-equiv", httpEquiv) ||
                !NamesEqual(httpEquiv, L"Content-Type", true))
                break;
            std::wstring_view content;
            if (!AttributeValue(text, attributesFrom, attributesEnd, L"content", content))
                return {};
            return CharsetOf(content);
        }
        case NodeEndTag:
            if (NamesEqual(NodeName(text, node), L"head", true)) return {};
            break;
        default:
            break;
        }
        position = nodeEnd;
    }
}

}  // namespace xml
