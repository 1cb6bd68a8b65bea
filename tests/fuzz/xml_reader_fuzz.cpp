// libFuzzer target over the XML reader core. The input's bytes, taken in
// pairs (little-endian), are the UTF-16 units of a document. The document
// is parsed, the index is checked for consistency, and a walk chosen by the
// input moves the cursor, reads texts and names, and edits the document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "xml/char_references.h"
#include "xml/declared_encoding.h"
#include "xml/xml_reader.h"

namespace {

// Stops the run in a way libFuzzer reports as a crash.
void check(bool condition) {
    if (!condition) __builtin_trap();
}

// Every record points into the document, names records that exist, and
// each element is reached exactly once from the document's record.
void CheckIndex(const xml::XmlReader& reader) {
    const int32_t count = reader.RecordCount();
    const int64_t size = static_cast<int64_t>(reader.Document().size());
    check(count >= 1);
    check(reader.Record(0).length == size || reader.Record(0).length == 0);
    for (int32_t i = 1; i < count; ++i) {
        const xml::ElementRecord& r = reader.Record(i);
        check(r.start >= 0 && r.length > 0 && int64_t{r.start} + r.length <= size);
        check(r.StartTagLength() <= r.length);
        check(int64_t{r.StartTagLength()} + r.EndTagLength() <= r.length);
        for (int32_t link : {r.parent, r.firstChild, r.nextSibling, r.previousSibling})
            check(link >= 0 && link < count);
    }
    std::vector<int32_t> pending = {0};
    std::vector<uint8_t> seen(static_cast<size_t>(count), 0);
    int32_t reached = 0;
    while (!pending.empty()) {
        const int32_t parent = pending.back();
        pending.pop_back();
        const xml::ElementRecord& owner = reader.Record(parent);
        int32_t previous = 0;
        for (int32_t child = owner.firstChild; child; child = reader.Record(child).nextSibling) {
            check(!seen[child]);
            seen[child] = 1;
            ++reached;
            const xml::ElementRecord& record = reader.Record(child);
            check(record.parent == parent);
            check(record.Has(xml::FirstChild) == (previous == 0));
            if (previous) check(record.previousSibling == previous);
            // A child lies inside its parent's text, after the one before it.
            if (parent) check(record.start >= owner.start && record.start < owner.start + owner.length);
            if (previous) {
                const xml::ElementRecord& before = reader.Record(previous);
                check(record.start >= before.start + before.length);
            }
            pending.push_back(child);
            previous = child;
        }
        if (owner.firstChild) check(reader.Record(owner.firstChild).previousSibling == previous);
    }
    check(reached == count - 1);
}

class Choices {
public:
    explicit Choices(const uint8_t* data, size_t size) {
        for (size_t i = 0; i < size; ++i) state_ = (state_ ^ data[i]) * 16777619u;
        if (!state_) state_ = 1;
    }
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    uint32_t state_ = 2166136261u;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (static_cast<uint32_t>(data[i + 1]) << 8));
    const std::wstring_view view(text);

    (void)xml::GetDeclaredEncoding(view.substr(0, 1024));
    (void)xml::DecodeReferences(view.substr(0, 256));

    xml::XmlReader reader;
    reader.SetDocument();
    const bool wellFormed = reader.SetDocument(text);
    check(reader.Document() == text);
    CheckIndex(reader);
    if (wellFormed) check(reader.ResultLogText().empty());

    Choices choices(data, size);
    std::wstring names[4] = {L"", L"a", L"item", L"/x"};
    const std::wstring fragment(view.substr(0, 24));
    for (int step = 0; step < 96; ++step) {
        std::wstring& name = names[choices.Next() % 4];
        switch (choices.Next() % 10) {
        case 0: reader.FindElement(name); break;
        case 1: reader.FindChildElement(name); break;
        case 2: reader.EnterElement(); break;
        case 3: reader.LeaveElement(); break;
        case 4: (void)reader.GetElementText(reader.CurrentIndex()); break;
        case 5: (void)reader.GetChildText(); break;
        case 6: name = reader.GetElementName(reader.CurrentIndex()); break;
        case 7: name = reader.GetElementName(reader.ChildIndex()); break;
        case 8: {
            const int32_t index = static_cast<int32_t>(choices.Next());
            (void)reader.GetElementText(index % (reader.RecordCount() + 2));
            (void)reader.GetElementName(index);
            break;
        }
        default: reader.FindElement(); break;
        }
    }

    const int32_t flags[] = {0, xml::AddAsChild, xml::AddCData | xml::AddNoLineBreak,
                             xml::AddNoEndTag | xml::AddSpaceBeforeSlash};
    reader.AddElement(L"entry", fragment, flags[choices.Next() % 4]);
    reader.SetAttribute(reader.CurrentIndex(), L"n", fragment);
    reader.SetAttribute(static_cast<int32_t>(choices.Next() % (reader.RecordCount() + 1)),
                        names[1].empty() ? L"m" : names[1], L"v\"'<");
    reader.AddElement(names[2].empty() ? L"e" : names[2], L"x]]>y", flags[choices.Next() % 4]);
    CheckIndex(reader);
    for (int32_t i = 0; i < reader.RecordCount() && i < 64; ++i) {
        (void)reader.GetElementText(i);
        (void)reader.GetElementName(i);
    }
    return 0;
}
