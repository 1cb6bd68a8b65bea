#include "xml/tag_attributes.h"

#include <algorithm>

namespace xml {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }
wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c; }

}  // namespace

bool NamesEqual(std::wstring_view a, std::wstring_view b, bool ignoreCase) {
    if (a.size() != b.size()) return false;
    if (!ignoreCase) return a == b;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

TagAttributeReader::TagAttributeReader(std::wstring_view text, int32_t from, int32_t end)
    : text_(text) {
    const int32_t size = static_cast<int32_t>(std::min<size_t>(text.size(), INT32_MAX));
    end_ = std::clamp(end, 0, size);
    at_ = std::clamp(from, 0, end_);
}

bool TagAttributeReader::Next(TagAttribute& attribute) {
    int32_t i = at_;
    while (i < end_ && IsSpace(text_[i])) ++i;
    if (i >= end_) {
        at_ = end_;
        return false;
    }
    attribute = {};
    attribute.nameStart = i;
    while (i < end_ && !IsSpace(text_[i]) && text_[i] != L'=') ++i;
    attribute.nameLength = i - attribute.nameStart;
    attribute.end = i;

    int32_t j = i;
    while (j < end_ && IsSpace(text_[j])) ++j;
    if (j < end_ && text_[j] == L'=') {
        ++j;
        while (j < end_ && IsSpace(text_[j])) ++j;
        attribute.hasValue = true;
        if (j < end_ && (text_[j] == L'"' || text_[j] == L'\'')) {
            attribute.quote = text_[j];
            attribute.valueStart = j + 1;
            int32_t k = attribute.valueStart;
            while (k < end_ && text_[k] != attribute.quote) ++k;
            attribute.valueLength = k - attribute.valueStart;
            attribute.end = k < end_ ? k + 1 : end_;
        } else {
            attribute.valueStart = j;
            while (j < end_ && !IsSpace(text_[j])) ++j;
            attribute.valueLength = j - attribute.valueStart;
            attribute.end = j;
        }
    }
    at_ = attribute.end;
    return true;
}

std::optional<TagAttribute> FindTagAttribute(std::wstring_view text, int32_t from, int32_t end,
                                             std::wstring_view name, bool ignoreCase) {
    TagAttributeReader reader(text, from, end);
    TagAttribute attribute;
    while (reader.Next(attribute)) {
        if (NamesEqual(text.substr(attribute.nameStart, attribute.nameLength), name, ignoreCase))
            return attribute;
    }
    return std::nullopt;
}

}  // namespace xml
