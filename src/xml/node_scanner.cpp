#include "xml/node_scanner.h"

#include <algorithm>

namespace xml {
namespace {

// Characters are compared as unsigned code units, whatever the width and
// signedness of wchar_t.
inline uint32_t Unit(wchar_t c) { return static_cast<uint32_t>(c); }

inline bool IsSpace(uint32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

inline bool EndsTagName(uint32_t c) { return IsSpace(c) || c == '/' || c == '>'; }

inline bool BeginsStartTag(uint32_t c) {
    return (c >= 'A' && c <= 'Z') || c == ':' || c == '_' || c > '`';
}

class Scanner {
public:
    Scanner(std::wstring_view text, int32_t position, int32_t end)
        : text_(text.data()), end_(end) {
        node_.start = position;
    }

    ScannedNode Scan() {
        const int32_t start = node_.start;
        if (start >= end_) {
            node_.type = NodeEndOfText;
            return std::move(node_);
        }
        if (At(start) != '<') {
            TextOrWhitespace(start);
        } else {
            Markup(start + 1);
        }
        return std::move(node_);
    }

private:
    uint32_t At(int32_t i) const { return Unit(text_[i]); }

    void Finish(int32_t type, int32_t next) {
        node_.type = type;
        node_.length = next - node_.start;
    }

    void Error(std::wstring_view name) {
        node_.diagnostics.Append({name, {}, {}, L"offset", node_.start, {}});
    }

    // The text ran out inside markup of the kind `what`.
    void Unterminated(std::wstring_view what) {
        node_.diagnostics.Append(
            {L"unterminated_tag_syntax", L"type", what, L"offset", node_.start, {}});
        Finish(NodeError, end_);
    }

    void Name(int32_t from) {
        int32_t i = from;
        while (i < end_ && !EndsTagName(At(i))) ++i;
        node_.nameStart = from;
        node_.nameLength = i - from;
    }

    void TextOrWhitespace(int32_t from) {
        int32_t i = from;
        while (i < end_ && IsSpace(At(i))) ++i;
        if (i == end_ || At(i) == '<') {
            Finish(NodeWhitespace, i);
            return;
        }
        for (; i < end_; ++i) {
            const uint32_t c = At(i);
            if (c == '<') break;
            if (c == '>') {
                ++i;
                break;
            }
        }
        Finish(NodeText, i);
    }

    // `at` is the position after "<".
    void Markup(int32_t at) {
        if (at >= end_) return Unterminated(L"tag");
        const uint32_t c = At(at);
        if (BeginsStartTag(c)) return StartTag(at);
        if (c == '/') return EndTag(at + 1);
        if (c == '?') return ProcessingInstruction(at + 1);
        if (c == '!') return Exclamation(at + 1);
        Error(L"first_tag_syntax");
        ErrorNode(at);
    }

    // `at` is the position after "<!".
    void Exclamation(int32_t at) {
        if (at >= end_) return Unterminated(L"tag");
        const uint32_t c = At(at);
        if (c == '-') {
            if (at + 1 >= end_) return Unterminated(L"tag");
            if (At(at + 1) == '-') return Closed(at + 2, L"-->", NodeComment, L"comment");
            Error(L"comment_tag_syntax");
            return ErrorNode(at + 1);
        }
        if (c == '[') {
            if (at + 1 >= end_) return Unterminated(L"tag");
            if (At(at + 1) == 'C')
                return Closed(at + 2, L"]]>", NodeCData, L"cdata_section");
            Error(L"cdata_section_syntax");
            return ErrorNode(at + 1);
        }
        if (c == 'D') return DocumentType(at + 1);
        Error(L"exclamation_tag_syntax");
        ErrorNode(at);
    }

    // Finds the closing text of a node whose content begins at `from`; the
    // whole closing text must lie inside the content.
    int32_t FindClosing(int32_t from, std::wstring_view closing) const {
        const int32_t rest = static_cast<int32_t>(closing.size()) - 1;  // before ">"
        for (int32_t i = from + rest; i < end_; ++i) {
            if (At(i) != '>') continue;
            bool complete = true;
            for (int32_t k = 0; k < rest; ++k) {
                if (At(i - rest + k) != Unit(closing[k])) {
                    complete = false;
                    break;
                }
            }
            if (complete) return i + 1;
        }
        return -1;
    }

    void Closed(int32_t from, std::wstring_view closing, int32_t type, std::wstring_view what) {
        const int32_t next = FindClosing(from, closing);
        if (next < 0) return Unterminated(what);
        Finish(type, next);
    }

    void ProcessingInstruction(int32_t nameFrom) {
        Name(nameFrom);
        Closed(nameFrom, L"?>", NodeProcessingInstruction, L"processing_instruction");
    }

    void EndTag(int32_t nameFrom) {
        Name(nameFrom);
        for (int32_t i = nameFrom + node_.nameLength; i < end_; ++i) {
            if (At(i) == '>') return Finish(NodeEndTag, i + 1);
        }
        Unterminated(L"end_tag");
    }

    // Attribute values inside a start tag or an error node: an "=" makes a
    // value expected; a quote then opens a quoted value, and any other
    // character but whitespace begins an unquoted one.
    enum class Value { None, Expected, Quoted, Unquoted };

    struct AttributeState {
        Value value = Value::None;
        uint32_t quote = 0;

        // Feeds one character; true when it lies outside a quoted value.
        bool Feed(uint32_t c) {
            switch (value) {
            case Value::Quoted:
                if (c == quote) value = Value::None;
                return false;
            case Value::Expected:
                if (IsSpace(c)) return true;
                if (c == '"' || c == '\'') {
                    value = Value::Quoted;
                    quote = c;
                    return false;
                }
                value = Value::Unquoted;
                return true;
            case Value::Unquoted:
                if (IsSpace(c)) value = Value::None;
                else if (c == '=') value = Value::Expected;
                return true;
            case Value::None:
                if (c == '=') value = Value::Expected;
                return true;
            }
            return true;
        }
    };

    void StartTag(int32_t nameFrom) {
        Name(nameFrom);
        const int32_t nameEnd = nameFrom + node_.nameLength;
        AttributeState state;
        int32_t emptySlash = -1;  // a "/" that would make the element empty
        for (int32_t i = nameEnd; i < end_; ++i) {
            const uint32_t c = At(i);
            const bool unquotedBefore = state.value == Value::Unquoted;
            if (!state.Feed(c)) continue;
            if (c == '>') {
                if (emptySlash == i - 1) node_.flags |= kEmptyElement;
                return Finish(NodeElement, i + 1);
            }
            if (c == '/' && !unquotedBefore) {
                const uint32_t before = At(i - 1);
                if (i == nameEnd || IsSpace(before) || before == '"' || before == '\'')
                    emptySlash = i;
            }
        }
        Unterminated(L"start_tag");
    }

    // An error node runs to the next ">" outside a quoted value (included),
    // or to just before the next "<".
    void ErrorNode(int32_t from) {
        AttributeState state;
        for (int32_t i = from; i < end_; ++i) {
            const uint32_t c = At(i);
            if (c == '<') return Finish(NodeError, i);
            if (state.Feed(c) && c == '>') return Finish(NodeError, i + 1);
        }
        Unterminated(L"tag");
    }

    // Skips a declaration of the internal subset ("<!ELEMENT" and the like)
    // that begins at `from`; quoted runs may hold ">". The position after its
    // ">", or -1.
    int32_t SkipDeclaration(int32_t from) const {
        uint32_t quote = 0;
        for (int32_t i = from; i < end_; ++i) {
            const uint32_t c = At(i);
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return i + 1;
            }
        }
        return -1;
    }

    void DocumentType(int32_t from) {
        int32_t i = from;
        while (i < end_) {
            const uint32_t c = At(i);
            if (c == '>') return Finish(NodeDocumentType, i + 1);
            if (c != '<' || i + 1 >= end_) {
                ++i;
                continue;
            }
            int32_t next = 0;
            if (At(i + 1) == '?') {
                next = FindClosing(i + 2, L"?>");
            } else if (At(i + 1) == '!') {
                if (i + 2 >= end_) return Unterminated(L"document_type");
                const uint32_t kind = At(i + 2);
                if (kind == 'E' || kind == 'A' || kind == 'N') {
                    next = SkipDeclaration(i + 3);
                } else if (kind == '-' && i + 3 >= end_) {
                    return Unterminated(L"document_type");
                } else if (kind == '-' && At(i + 3) == '-') {
                    next = FindClosing(i + 4, L"-->");
                } else {
                    Error(L"doctype_tag_syntax");
                    return ErrorNode(i + 2);
                }
            } else {
                ++i;  // "<" is ordinary content here
                continue;
            }
            if (next < 0) return Unterminated(L"document_type");
            i = next;
        }
        Unterminated(L"document_type");
    }

    const wchar_t* text_;
    int32_t end_;
    ScannedNode node_;
};

}  // namespace

ScannedNode ScanNode(std::wstring_view text, int32_t position, int32_t end) {
    const int64_t size = static_cast<int64_t>(text.size());
    const int32_t limit = static_cast<int32_t>(std::clamp<int64_t>(end, 0, std::min<int64_t>(size, INT32_MAX)));
    return Scanner(text, std::clamp(position, 0, limit), limit).Scan();
}

}  // namespace xml
