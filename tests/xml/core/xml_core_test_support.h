// Helpers shared by the reader core tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "xml/xml_reader.h"

namespace xml_test {

// A string of UTF-16 code units, one per wchar_t on every platform.
inline std::wstring Units(std::initializer_list<uint32_t> units) {
    std::wstring text;
    for (uint32_t unit : units) text += static_cast<wchar_t>(unit);
    return text;
}

inline std::wstring Repeat(std::wstring_view piece, size_t times) {
    std::wstring text;
    text.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i) text.append(piece);
    return text;
}

// The index of an edited reader must be the one a fresh parse of its
// document builds.
inline void ExpectSameIndexAsReparse(const xml::XmlReader& edited) {
    xml::XmlReader fresh;
    fresh.SetDocument(edited.Document());
    ASSERT_EQ(fresh.RecordCount(), edited.RecordCount()) << std::string(edited.Document().begin(), edited.Document().end());
    for (int32_t i = 0; i < fresh.RecordCount(); ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        const xml::ElementRecord& a = fresh.Record(i);
        const xml::ElementRecord& b = edited.Record(i);
        EXPECT_EQ(a.start, b.start);
        EXPECT_EQ(a.length, b.length);
        EXPECT_EQ(a.StartTagLength(), b.StartTagLength());
        EXPECT_EQ(a.EndTagLength(), b.EndTagLength());
        EXPECT_EQ(a.Level(), b.Level());
        EXPECT_EQ(a.Has(xml::FirstChild), b.Has(xml::FirstChild));
        EXPECT_EQ(a.parent, b.parent);
        EXPECT_EQ(a.firstChild, b.firstChild);
        EXPECT_EQ(a.nextSibling, b.nextSibling);
        EXPECT_EQ(a.previousSibling, b.previousSibling);
    }
}

}  // namespace xml_test
