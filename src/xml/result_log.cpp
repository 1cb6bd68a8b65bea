#include "xml/result_log.h"

#include <algorithm>
#include <initializer_list>

#include "xml/escaping.h"

namespace xml {
namespace {

void AppendAttribute(std::wstring& out, std::wstring_view name, std::wstring_view value) {
    out += L' ';
    out.append(name);
    out += L"=\"";
    AppendEscaped(out, value, EscapeMode::Attribute);
    out += L'"';
}

std::wstring Number(int64_t n) { return std::to_wstring(n); }

// Bounds of one record inside the log text.
struct RecordSpan {
    size_t begin = std::wstring::npos;
    size_t end = 0;  // just past "/>"
};

// The first record whose element name is `name`.
RecordSpan FindRecord(const std::wstring& text, std::wstring_view name) {
    size_t at = 0;
    while (at < text.size()) {
        const size_t close = text.find(L"/>", at);
        if (close == std::wstring::npos) break;
        // A record is "<name" followed by " attr=..." or "/>".
        const size_t nameEnd = at + 1 + name.size();
        if (text[at] == L'<' && nameEnd <= close &&
            std::wstring_view(text).substr(at + 1, name.size()) == name &&
            (nameEnd == close || text[nameEnd] == L' ')) {
            return {at, close + 2};
        }
        at = close + 2;
    }
    return {};
}

// Sets attribute `name` of the record at `span` to `value` (already in its
// written form). A missing attribute is inserted at `insertAt`, computed by
// the caller from the fixed attribute order. Returns the record's new end.
size_t SetRecordAttribute(std::wstring& text, RecordSpan span, std::wstring_view name,
                          std::wstring_view writtenValue, size_t insertAt) {
    std::wstring key = L" ";
    key.append(name);
    key += L"=\"";
    const size_t found = text.find(key, span.begin);
    if (found != std::wstring::npos && found < span.end) {
        const size_t valueStart = found + key.size();
        // Values never hold a raw quotation mark; the bound only guards a
        // log that was not written by this class.
        const size_t valueEnd =
            std::max(valueStart, std::min(text.find(L'"', valueStart), span.end - 2));
        const size_t oldLength = valueEnd - valueStart;
        text.replace(valueStart, oldLength, writtenValue);
        return span.end - oldLength + writtenValue.size();
    }
    std::wstring attribute = key;
    attribute.append(writtenValue);
    attribute += L'"';
    text.insert(insertAt, attribute);
    return span.end + attribute.size();
}

// Position of the first attribute among `names` inside the record, or the
// position of its "/>".
size_t FirstOf(const std::wstring& text, RecordSpan span,
               std::initializer_list<std::wstring_view> names) {
    size_t best = span.end - 2;
    for (std::wstring_view name : names) {
        if (name.empty()) continue;
        std::wstring key = L" ";
        key.append(name);
        key += L"=\"";
        const size_t found = text.find(key, span.begin);
        if (found != std::wstring::npos && found < best) best = found;
    }
    return best;
}

}  // namespace

std::wstring FormatRecord(const LogRecord& record) {
    std::wstring out;
    out += L'<';
    out.append(record.name);
    if (!record.textName.empty()) AppendAttribute(out, record.textName, record.textValue);
    if (!record.numberName.empty()) AppendAttribute(out, record.numberName, Number(record.number));
    if (record.offset2) AppendAttribute(out, L"offset2", Number(*record.offset2));
    out += L"/>";
    return out;
}

void ResultLog::Append(const LogRecord& record) {
    if (text_.size() >= kLimit) return;
    text_ += FormatRecord(record);
}

void ResultLog::UpdateFirst(const LogRecord& record) {
    RecordSpan span = FindRecord(text_, record.name);
    if (span.begin == std::wstring::npos) {
        Append(record);
        return;
    }
    // Keep the fixed order: text attribute, number, offset2.
    if (!record.textName.empty()) {
        const std::wstring value = Escape(record.textValue, EscapeMode::Attribute);
        const size_t insertAt = span.begin + 1 + record.name.size();
        span.end = SetRecordAttribute(text_, span, record.textName, value, insertAt);
    }
    if (!record.numberName.empty()) {
        const size_t insertAt = FirstOf(text_, span, {L"offset2"});
        span.end = SetRecordAttribute(text_, span, record.numberName, Number(record.number),
                                      insertAt);
    }
    if (record.offset2) {
        span.end = SetRecordAttribute(text_, span, L"offset2", Number(*record.offset2),
                                      span.end - 2);
    }
}

void ResultLog::AppendLog(const ResultLog& other) {
    if (&other == this) {
        const ResultLog copy = other;
        AppendLog(copy);
        return;
    }
    // Attribute values are escaped, so every "<" of a log begins a record.
    const std::wstring& from = other.text_;
    size_t at = 0;
    while (at < from.size() && text_.size() < kLimit) {
        size_t next = from.find(L'<', at + 1);
        if (next == std::wstring::npos) next = from.size();
        text_.append(from, at, next - at);
        at = next;
    }
}

}  // namespace xml
