// Diagnostic records that the XML layer keeps about a load and a parse.
//
// A record is an empty element named after the event, with attributes in a
// fixed order: one text attribute ("type", "encoding", "msg" or "tagname"),
// one number ("n", "count", "length" or "offset"), then "offset2"; values are
// escaped as attribute values. Records are appended with no separators and
// no space before "/>", e.g. <read encoding="UTF-8" length="12"/>. A record
// is added only while the log is shorter than 1000 characters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xml {

struct LogRecord {
    std::wstring_view name;          // e.g. L"unended_start_tag"
    std::wstring_view textName;      // empty: no text attribute
    std::wstring_view textValue;
    std::wstring_view numberName;    // empty: no number attribute
    int64_t number = 0;
    std::optional<int64_t> offset2;  // written last when present
};

// The record's text, as it is written into a log.
std::wstring FormatRecord(const LogRecord& record);

class ResultLog {
public:
    static constexpr size_t kLimit = 1000;

    // Adds the record at the end while the log is shorter than kLimit.
    void Append(const LogRecord& record);
    // Updates the attributes of the first record named record.name (adding
    // the attributes it lacks, in the fixed order); adds the record, subject
    // to the limit, when there is none. Attributes absent from `record` are
    // left as they are. An update is made whatever the log's length.
    void UpdateFirst(const LogRecord& record);
    // Appends the records of another log (each subject to the limit).
    void AppendLog(const ResultLog& other);

    void Clear() { text_.clear(); }
    bool Empty() const { return text_.empty(); }
    const std::wstring& Text() const { return text_; }

private:
    std::wstring text_;
};

}  // namespace xml
