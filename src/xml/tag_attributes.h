// Reads the attributes of a tag: name, optional "=", and a value that is
// quoted (single or double quotation marks) or runs to the next whitespace.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace xml {

struct TagAttribute {
    int32_t nameStart = 0;
    int32_t nameLength = 0;
    bool hasValue = false;
    wchar_t quote = 0;        // the quotation mark, 0 for an unquoted value
    int32_t valueStart = 0;   // inside the quotation marks
    int32_t valueLength = 0;
    int32_t end = 0;          // just past the attribute
};

// Walks the attributes in [from, end) of `text`: the part of a tag after its
// name and before its closing ">", "/>" or "?>".
class TagAttributeReader {
public:
    TagAttributeReader(std::wstring_view text, int32_t from, int32_t end);
    bool Next(TagAttribute& attribute);

private:
    std::wstring_view text_;
    int32_t at_;
    int32_t end_;
};

// The first attribute named `name`, compared exactly or without regard to
// ASCII case.
std::optional<TagAttribute> FindTagAttribute(std::wstring_view text, int32_t from, int32_t end,
                                             std::wstring_view name, bool ignoreCase);

// Equality of two names, exact or without regard to ASCII case.
bool NamesEqual(std::wstring_view a, std::wstring_view b, bool ignoreCase);

}  // namespace xml
