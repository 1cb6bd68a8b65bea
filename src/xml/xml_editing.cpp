// Editing of the document in place: a new element after the current one, or
// an attribute set in a start tag. Every record after the change is shifted
// so that the index stays valid without a new parse.
#include <algorithm>

#include "xml/escaping.h"
#include "xml/node_scanner.h"
#include "xml/tag_attributes.h"
#include "xml/xml_reader.h"

namespace xml {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

// A name that can be written as a tag or attribute name and read back whole.
bool IsWritableName(std::wstring_view name) {
    if (name.empty()) return false;
    for (wchar_t c : name) {
        switch (c) {
        case L' ': case L'\t': case L'\n': case L'\r':
        case L'<': case L'>': case L'/': case L'=': case L'"': case L'\'':
        case L'&': case L'?': case L'!': case L';': case L'\\':
            return false;
        default:
            break;
        }
    }
    return true;
}

}  // namespace

int32_t XmlReader::TakeRecord() {
    if (nextFreeIndex_ >= elements_.Capacity() && !elements_.Grow()) return 0;
    return nextFreeIndex_++;
}

// The text [position, position + removed) was replaced by `inserted` units.
// Changes are made inside start tags or between elements, so no record
// starts inside the replaced text.
void XmlReader::ShiftOffsets(int32_t position, int32_t removed, int32_t inserted) {
    const int32_t delta = inserted - removed;
    if (!delta) return;
    for (int32_t i = 1; i < nextFreeIndex_; ++i) {
        ElementRecord& record = elements_.At(i);
        if (record.start >= position) {
            record.start += delta;
        } else if (position < record.start + record.length) {
            record.length += delta;  // the change lies inside this element
        }
    }
    elements_.At(0).length = static_cast<int32_t>(document_.size());
}

void XmlReader::InsertAt(int32_t position, std::wstring_view text) {
    document_.insert(static_cast<size_t>(position), text);
    ShiftOffsets(position, 0, static_cast<int32_t>(text.size()));
}

void XmlReader::ReplaceAt(int32_t position, int32_t length, std::wstring_view text) {
    document_.replace(static_cast<size_t>(position), static_cast<size_t>(length), text);
    ShiftOffsets(position, length, static_cast<int32_t>(text.size()));
}

// Gives an element without end tag ("<p/>", or one never closed) an end tag
// right after its start tag, so that it can take children.
bool XmlReader::OpenUp(int32_t index, bool lineBreak) {
    ElementRecord& record = elements_.At(index);
    if (record.Has(TagTooLong) || record.EndTagLength()) return !record.Has(TagTooLong);
    const std::wstring name(ElementName(index));
    if (name.empty() || name.size() + 3 > ElementRecord::kMaxEndTagLength) return false;
    std::wstring endTag = lineBreak ? L"\r\n</" : L"</";
    endTag += name;
    endTag += L'>';
    if (document_.size() + endTag.size() > kMaxDocumentLength) return false;

    const int32_t tagEnd = record.start + record.StartTagLength();
    const ScannedNode tag = ScanNode(document_, record.start, tagEnd);
    if (tag.type != NodeElement || tag.start + tag.length != tagEnd) return false;
    if (tag.flags & kEmptyElement) {
        // "<p />" becomes "<p>": drop the "/" and the whitespace before it.
        const int32_t nameEnd = tag.nameStart + tag.nameLength;
        int32_t cut = tagEnd - 2;
        while (cut > nameEnd && IsSpace(document_[cut - 1])) --cut;
        ReplaceAt(cut, tagEnd - 1 - cut, {});
        record.SetStartTagLength(static_cast<uint32_t>(record.StartTagLength() - (tagEnd - 1 - cut)));
    }
    const int32_t position = record.start + record.StartTagLength();
    InsertAt(position, endTag);
    // The insertion point is this element's end, which the shift leaves out.
    record.length = record.StartTagLength() + static_cast<int32_t>(endTag.size());
    record.SetEndTagLength(static_cast<uint32_t>(name.size() + 3));
    record.Clear(NotEnded);
    return true;
}

void XmlReader::LinkAfter(int32_t parent, int32_t previous, int32_t index) {
    ElementRecord& record = elements_.At(index);
    ElementRecord& owner = elements_.At(parent);
    if (!owner.firstChild) {
        owner.firstChild = index;
        record.previousSibling = index;
        record.nextSibling = 0;
        record.Set(FirstChild);
        return;
    }
    ElementRecord& first = elements_.At(owner.firstChild);
    if (!previous) {  // becomes the first child
        record.previousSibling = first.previousSibling;
        record.nextSibling = owner.firstChild;
        first.previousSibling = index;
        first.Clear(FirstChild);
        record.Set(FirstChild);
        owner.firstChild = index;
        return;
    }
    ElementRecord& before = elements_.At(previous);
    const int32_t next = before.nextSibling;
    before.nextSibling = index;
    record.previousSibling = previous;
    record.nextSibling = next;
    if (next) elements_.At(next).previousSibling = index;
    else first.previousSibling = index;
}

bool XmlReader::AddElement(std::wstring_view name, std::wstring_view value, int32_t flags) {
    if (documentFlags_ & ReadFileMode) return false;
    if (!IsWritableName(name)) return false;
    if (!Parsed()) Parse();

    const bool asChild = (flags & AddAsChild) != 0;
    const bool lineBreak = (flags & AddNoLineBreak) == 0;
    const int32_t parent = asChild ? currentIndex_ : parentIndex_;
    const int32_t previous = asChild ? childIndex_ : currentIndex_;
    if (asChild && !parent) return false;
    if (parent && elements_.At(parent).Has(TagTooLong)) return false;

    std::wstring markup = L"<";
    markup += name;
    size_t startTagLength = 0;
    size_t endTagLength = 0;
    if (value.empty()) {
        if (flags & AddNoEndTag) markup += L'>';
        else markup += (flags & AddSpaceBeforeSlash) ? L" />" : L"/>";
        startTagLength = markup.size();
    } else {
        markup += L'>';
        startTagLength = markup.size();
        if (flags & AddCData) {
            markup += L"<![CDATA[";
            size_t at = 0;
            for (size_t found; (found = value.find(L"]]>", at)) != std::wstring_view::npos;
                 at = found + 3) {
                markup.append(value.substr(at, found - at));
                markup += L"]]]]><![CDATA[>";
            }
            markup.append(value.substr(at));
            markup += L"]]>";
        } else {
            AppendEscaped(markup, value, EscapeMode::Text);
        }
        markup += L"</";
        markup += name;
        markup += L'>';
        endTagLength = name.size() + 3;
    }
    const size_t elementLength = markup.size();
    if (lineBreak) markup += L"\r\n";
    if (startTagLength > ElementRecord::kMaxStartTagLength ||
        endTagLength > ElementRecord::kMaxEndTagLength ||
        document_.size() + markup.size() + name.size() + 8 > kMaxDocumentLength)
        return false;
    if (nextFreeIndex_ >= elements_.Capacity() && !elements_.Grow()) return false;

    if (parent && !OpenUp(parent, lineBreak)) return false;
    int32_t position;
    const ElementRecord& owner = elements_.At(parent);
    if (previous) {
        // After the previous element and the line break written after it.
        const ElementRecord& before = elements_.At(previous);
        position = before.start + before.length;
        if (document_.compare(static_cast<size_t>(position), 2, L"\r\n") == 0) position += 2;
    } else if (owner.firstChild) {
        position = elements_.At(owner.firstChild).start;
    } else if (!parent) {
        position = static_cast<int32_t>(document_.size());
    } else {
        position = owner.start + owner.length - owner.EndTagLength();  // before its end tag
    }
    InsertAt(position, markup);

    const int32_t index = TakeRecord();
    ElementRecord& record = elements_.At(index);
    record = ElementRecord{};
    record.start = position;
    record.length = static_cast<int32_t>(elementLength);
    record.SetTagLengths(static_cast<uint32_t>(startTagLength), static_cast<uint32_t>(endTagLength));
    const int32_t level = parent ? elements_.At(parent).Level() + 1 : 0;
    record.levelFlags = static_cast<uint32_t>(std::min<int32_t>(level, ElementRecord::kMaxLevel));
    record.parent = parent;
    LinkAfter(parent, previous, index);

    if (asChild) {
        childIndex_ = index;
    } else {
        parentIndex_ = parent;
        currentIndex_ = index;
        childIndex_ = 0;
    }
    nodeOffset_ = nodeLength_ = 0;
    nodeType_ = 1;
    return true;
}

bool XmlReader::SetAttribute(int32_t index, std::wstring_view name, std::wstring_view value) {
    if (!IsElement(index) || !IsWritableName(name)) return false;
    ElementRecord& record = elements_.At(index);
    if (record.Has(TagTooLong)) return false;
    const int64_t tagEnd64 = int64_t{record.start} + record.StartTagLength();
    if (tagEnd64 > static_cast<int64_t>(document_.size())) return false;
    const int32_t tagEnd = static_cast<int32_t>(tagEnd64);
    const ScannedNode tag = ScanNode(document_, record.start, tagEnd);
    if (tag.type != NodeElement || tag.start + tag.length != tagEnd) return false;

    const int32_t attributesEnd = tagEnd - ((tag.flags & kEmptyElement) ? 2 : 1);
    const std::wstring escaped = Escape(value, EscapeMode::Attribute);
    const std::wstring quoted = L"\"" + escaped + L"\"";
    const auto found = FindTagAttribute(document_, tag.nameStart + tag.nameLength, attributesEnd,
                                        name, false);
    int32_t position;
    int32_t removed;
    std::wstring text;
    if (!found) {
        position = attributesEnd;
        removed = 0;
        const bool spaceBefore = IsSpace(document_[attributesEnd - 1]);
        if (!spaceBefore) text = L" ";
        text += name;
        text += L'=';
        text += quoted;
        if (spaceBefore) text += L' ';
    } else if (!found->hasValue) {
        position = found->nameStart + found->nameLength;
        removed = 0;
        text = L"=" + quoted;
    } else if (found->quote && found->valueStart + found->valueLength < found->end) {
        position = found->valueStart;  // a quoted value: only the value changes
        removed = found->valueLength;
        text = escaped;
    } else {
        // Unquoted, or a quotation mark that is never closed: quote it.
        position = found->valueStart - (found->quote ? 1 : 0);
        removed = found->end - position;
        text = quoted;
    }
    const int64_t newTagLength = int64_t{record.StartTagLength()} - removed + int64_t(text.size());
    if (newTagLength > ElementRecord::kMaxStartTagLength ||
        document_.size() - removed + text.size() > kMaxDocumentLength)
        return false;
    ReplaceAt(position, removed, text);
    record.SetStartTagLength(static_cast<uint32_t>(newTagLength));
    return true;
}

}  // namespace xml
