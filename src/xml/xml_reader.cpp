#include "xml/xml_reader.h"

#include <algorithm>

#include "xml/tag_attributes.h"

namespace xml {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

bool EndsElementName(wchar_t c) {
    switch (c) {
    case L' ': case L'\t': case L'\n': case L'\r':
    case L'<': case L'>': case L'=': case L'\\': case L'/':
    case L'?': case L'!': case L';': case L'"': case L'\'':
        return true;
    default:
        return false;
    }
}

// The plain name a search looks for: the argument up to the first of
// " =/[]" (the rest only matters to path forms, which are not supported).
// False for a path ("/", "//") and for an argument that holds no name.
bool SearchName(std::wstring_view argument, std::wstring_view& name) {
    if (!argument.empty() && argument[0] == L'/') return false;
    name = argument.substr(0, std::min(argument.find_first_of(L" =/[]"), argument.size()));
    return argument.empty() || !name.empty();
}

}  // namespace

XmlReader::XmlReader() = default;

bool XmlReader::SetDocument() {
    if (documentFlags_ & (ReadFileMode | WriteFileMode)) return false;
    document_.clear();
    document_.shrink_to_fit();
    elements_.Release();
    resultLog_.Clear();
    return Parse();
}

bool XmlReader::SetDocument(std::wstring text) {
    if (documentFlags_ & (ReadFileMode | WriteFileMode)) return false;
    document_ = std::move(text);
    resultLog_.Clear();
    return Parse();
}

void XmlReader::ResetCursor() {
    parentIndex_ = currentIndex_ = childIndex_ = 0;
    nodeType_ = nodeOffset_ = nodeLength_ = 0;
}

const ElementRecord& XmlReader::Record(int32_t index) const {
    static const ElementRecord kNone{};
    if (index < 0 || index >= nextFreeIndex_) return kNone;
    return elements_.At(index);
}

std::wstring_view XmlReader::ElementName(int32_t index) const {
    if (!IsElement(index)) return {};
    const ElementRecord& record = elements_.At(index);
    const std::wstring_view document(document_);
    const size_t tagEnd = std::min(document.size(), static_cast<size_t>(record.start) +
                                                        static_cast<size_t>(record.StartTagLength()));
    size_t i = static_cast<size_t>(record.start) + 1;
    while (i < tagEnd && IsSpace(document[i])) ++i;
    const size_t nameStart = i;
    while (i < tagEnd && !EndsElementName(document[i])) ++i;
    return nameStart < tagEnd ? document.substr(nameStart, i - nameStart) : std::wstring_view{};
}

bool XmlReader::NameMatches(int32_t index, std::wstring_view name) const {
    return name.empty() || NamesEqual(ElementName(index), name, (documentFlags_ & IgnoreCase) != 0);
}

bool XmlReader::FindElement(std::wstring_view argument) {
    std::wstring_view name;
    if (!SearchName(argument, name)) return false;
    if ((documentFlags_ & WriteFileMode) || !Parsed()) return false;
    int32_t candidate = currentIndex_ ? elements_.At(currentIndex_).nextSibling
                                      : elements_.At(parentIndex_).firstChild;
    for (; candidate; candidate = elements_.At(candidate).nextSibling) {
        if (!NameMatches(candidate, name)) continue;
        parentIndex_ = elements_.At(candidate).parent;
        currentIndex_ = candidate;
        childIndex_ = 0;
        nodeOffset_ = nodeLength_ = 0;
        nodeType_ = 1;
        return true;
    }
    return false;
}

bool XmlReader::FindChildElement(std::wstring_view argument) {
    std::wstring_view name;
    if (!SearchName(argument, name)) return false;
    if (documentFlags_ & (ReadFileMode | WriteFileMode)) return false;
    if (!currentIndex_ && !FindElement()) return false;
    int32_t candidate = childIndex_ ? elements_.At(childIndex_).nextSibling
                                    : elements_.At(currentIndex_).firstChild;
    for (; candidate; candidate = elements_.At(candidate).nextSibling) {
        if (!NameMatches(candidate, name)) continue;
        childIndex_ = candidate;
        currentIndex_ = elements_.At(candidate).parent;
        parentIndex_ = elements_.At(currentIndex_).parent;
        nodeOffset_ = 0;
        nodeType_ = 1;
        return true;
    }
    return false;
}

bool XmlReader::EnterElement() {
    if (!currentIndex_ || nodeType_ != 1) return false;
    parentIndex_ = currentIndex_;
    currentIndex_ = childIndex_;
    childIndex_ = 0;
    nodeOffset_ = 0;
    nodeType_ = currentIndex_ ? 1 : 0;
    return true;
}

bool XmlReader::LeaveElement() {
    if (!parentIndex_) return false;
    childIndex_ = currentIndex_;
    currentIndex_ = parentIndex_;
    parentIndex_ = elements_.At(currentIndex_).parent;
    nodeOffset_ = 0;
    nodeType_ = 1;
    return true;
}

}  // namespace xml
