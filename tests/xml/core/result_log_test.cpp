#include <gtest/gtest.h>

#include <string>

#include "xml/result_log.h"

namespace {

using xml::LogRecord;
using xml::ResultLog;

TEST(ResultLog, RecordText) {
    struct Case {
        LogRecord record;
        const wchar_t* text;
    } cases[] = {
        {{L"no_root_element", {}, {}, {}, 0, {}}, L"<no_root_element/>"},
        {{L"first_tag_syntax", {}, {}, L"offset", 5, {}}, L"<first_tag_syntax offset=\"5\"/>"},
        {{L"unended_start_tag", L"tagname", L"a", L"offset", 3, 8},
         L"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"8\"/>"},
        {{L"read", L"encoding", L"", L"length", 0, {}}, L"<read encoding=\"\" length=\"0\"/>"},
        {{L"file_error", L"msg", L"a<b>&\"c'", L"n", -2147024894, {}},
         L"<file_error msg=\"a&lt;b&gt;&amp;&quot;c&apos;\" n=\"-2147024894\"/>"},
        {{L"x", {}, {}, {}, 0, 0}, L"<x offset2=\"0\"/>"},
    };
    for (const auto& c : cases) {
        ResultLog log;
        log.Append(c.record);
        EXPECT_EQ(log.Text(), c.text);
        EXPECT_EQ(xml::FormatRecord(c.record), c.text);
    }
}

TEST(ResultLog, RecordsAreAddedWhileShorterThan1000Characters) {
    ResultLog log;
    const LogRecord record{L"lone_end_tag", L"tagname", L"abcdefghijklmnopqrstuvwxyz", L"offset",
                           1234567, {}};
    const size_t size = xml::FormatRecord(record).size();
    while (log.Text().size() < ResultLog::kLimit) log.Append(record);
    const size_t full = log.Text().size();
    EXPECT_LT(full - size, ResultLog::kLimit);  // the last one started below the limit
    EXPECT_EQ(full % size, 0u);                 // and was added whole
    log.Append(record);
    log.Append({L"no_root_element", {}, {}, {}, 0, {}});
    EXPECT_EQ(log.Text().size(), full);

    log.Clear();
    EXPECT_TRUE(log.Empty());
    log.Append(record);
    EXPECT_EQ(log.Text().size(), size);
}

TEST(ResultLog, AppendLogTakesRecordsUntilTheLimit) {
    ResultLog source;
    for (int i = 0; i < 100; ++i) source.Append({L"r", {}, {}, L"n", i, {}});
    ResultLog target;
    target.Append({L"first", L"msg", L"<x/>", {}, 0, {}});
    target.AppendLog(source);
    const std::wstring& text = target.Text();
    EXPECT_EQ(text.rfind(L"<first msg=\"&lt;x/&gt;\"/><r n=\"0\"/><r n=\"1\"/>", 0), 0u);
    const size_t last = text.rfind(L'<');
    EXPECT_LT(last, ResultLog::kLimit);
    EXPECT_GE(text.size(), ResultLog::kLimit);
    EXPECT_EQ(text.substr(text.size() - 2), L"/>");
}

TEST(ResultLog, UpdateFirstChangesOnlyTheFirstRecordOfThatName) {
    ResultLog log;
    log.Append({L"reader", L"encoding", L"x", L"length", 1, {}});
    log.Append({L"read", L"encoding", L"", L"length", 12, {}});
    log.Append({L"read", L"encoding", L"", L"length", 13, {}});
    log.UpdateFirst({L"read", L"encoding", L"UTF-8", {}, 0, {}});
    EXPECT_EQ(log.Text(),
              L"<reader encoding=\"x\" length=\"1\"/>"
              L"<read encoding=\"UTF-8\" length=\"12\"/>"
              L"<read encoding=\"\" length=\"13\"/>");
    log.UpdateFirst({L"read", {}, {}, L"length", 7, {}});
    EXPECT_EQ(log.Text().find(L"<read encoding=\"UTF-8\" length=\"7\"/>"), 33u);
}

TEST(ResultLog, UpdateFirstAddsMissingAttributesInTheirOrder) {
    ResultLog log;
    log.Append({L"read", {}, {}, L"length", 4, {}});
    log.Append({L"next", {}, {}, {}, 0, {}});
    log.UpdateFirst({L"read", L"encoding", L"a\"b", {}, 0, {}});
    EXPECT_EQ(log.Text(), L"<read encoding=\"a&quot;b\" length=\"4\"/><next/>");
    log.UpdateFirst({L"next", {}, {}, {}, 0, 9});
    log.UpdateFirst({L"next", L"type", L"t", L"count", 2, {}});
    EXPECT_EQ(log.Text(), L"<read encoding=\"a&quot;b\" length=\"4\"/>"
                          L"<next type=\"t\" count=\"2\" offset2=\"9\"/>");
    // No such record yet: it is added.
    log.UpdateFirst({L"endian_swap", {}, {}, {}, 0, {}});
    EXPECT_EQ(log.Text().substr(log.Text().size() - 14), L"<endian_swap/>");
}

TEST(ResultLog, UpdateFirstWorksOnAFullLogButAddsNothing) {
    ResultLog log;
    log.Append({L"read", L"encoding", L"", L"length", 12, {}});
    while (log.Text().size() < ResultLog::kLimit) log.Append({L"filler", {}, {}, {}, 0, {}});
    const size_t full = log.Text().size();
    log.UpdateFirst({L"read", L"encoding", L"UTF-8", {}, 0, {}});
    EXPECT_EQ(log.Text().rfind(L"<read encoding=\"UTF-8\" length=\"12\"/>", 0), 0u);
    EXPECT_EQ(log.Text().size(), full + 5);
    log.UpdateFirst({L"utf8_detection", {}, {}, {}, 0, {}});
    EXPECT_EQ(log.Text().find(L"utf8_detection"), std::wstring::npos);
}

}  // namespace
