// Text of an element, cut out of the document and decoded on request.
#include <algorithm>

#include "xml/char_references.h"
#include "xml/node_scanner.h"
#include "xml/xml_reader.h"

namespace xml {

std::wstring XmlReader::GetElementText(int32_t index) const {
    if (!IsElement(index)) return {};
    const ElementRecord& record = elements_.At(index);
    if (record.Has(TagTooLong)) return {};  // its tag lengths are not exact
    if (record.StartTagLength() == record.length) return {};
    if (record.firstChild) return {};  // text mixed with elements is not returned

    const int64_t size = static_cast<int64_t>(document_.size());
    const int64_t begin = std::clamp<int64_t>(int64_t{record.start} + record.StartTagLength(), 0, size);
    const int64_t end = std::clamp<int64_t>(
        int64_t{record.start} + record.length - record.EndTagLength(), 0, size);
    if (begin >= end) return {};
    const std::wstring_view document(document_);
    const std::wstring_view content = document.substr(begin, end - begin);
    if (content.find(L'<') == std::wstring_view::npos) return DecodeReferences(content);

    // Markup inside: keep text (decoded) and CDATA (verbatim); comments,
    // processing instructions and whitespace-only runs are left out.
    std::wstring text;
    int32_t position = static_cast<int32_t>(begin);
    for (;;) {
        const ScannedNode node = ScanNode(document, position, static_cast<int32_t>(end));
        if (node.type == NodeEndOfText) break;
        if (node.type == NodeText) {
            AppendDecodedReferences(text, document.substr(node.start, node.length));
        } else if (node.type == NodeCData) {
            constexpr int32_t kOpen = 9;   // "<![CDATA["
            constexpr int32_t kClose = 3;  // "]]>"
            const int32_t innerEnd = node.start + node.length - kClose;
            const int32_t innerStart = std::min(node.start + kOpen, innerEnd);
            text.append(document.substr(innerStart, innerEnd - innerStart));
        }
        position = node.start + node.length;
    }
    return text;
}

std::wstring XmlReader::GetChildText() {
    if (!EnterElement()) return {};
    std::wstring text = GetElementText(currentIndex_);
    LeaveElement();
    return text;
}

std::wstring XmlReader::GetElementName(int32_t index) const {
    return std::wstring(ElementName(index));
}

}  // namespace xml
