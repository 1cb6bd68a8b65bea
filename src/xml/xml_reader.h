// XmlReader: the system's small, lenient XML reader.
//
// The whole document is one UTF-16 string; one pass builds a paged index of
// fixed-size element records (offsets into the string plus tree links), and
// a three-position cursor (parent, current element, current child) moves
// forward over it. Element text is cut out and its references decoded only
// when asked for. Malformed markup never aborts a parse: it is recorded in
// the result log and the parse returns false, but whatever could be indexed
// stays navigable.
//
// Contents of xml/:
//   node_scanner     one markup/text node at a time (types, errors)
//   element_index    paged records of 65,536, ElementRecord layout
//   xml_reader       construction, SetDocument, navigation (the cursor)
//   element_builder  the parse: one pass over the nodes builds the index
//   element_text     GetElementText, GetChildText, GetElementName
//   char_references  named and numeric character references
//   result_log       diagnostic records, the 1000-character limit
//   escaping         text and attribute escaping of written markup
//   tag_attributes   attributes of a tag, read in place
//   xml_editing      AddElement, SetAttribute (used for the result log)
//   declared_encoding  the encoding an XML declaration or HTML meta names
//   code_pages       encoding names -> Windows code pages (CodePageOf)
//   text_conversion  ConvertText between code pages, UTF-16 and UTF-32
//   document_file    opening/reading a file, BOMs, UTF-8 detection (Windows)
//   xml_reader_file  XmlReader::LoadFile (Windows)
//
// Text is std::wstring; every wchar_t holds one UTF-16 code unit, whatever
// the width of wchar_t.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "xml/element_index.h"
#include "xml/result_log.h"

namespace xml {

enum DocumentFlag : int32_t {
    Utf16LeFile = 0x1,
    Utf8Bom = 0x4,
    IgnoreCase = 0x8,
    ReadFileMode = 0x10,
    WriteFileMode = 0x20,
    AppendFileMode = 0x40,
    Utf16BeFile = 0x80,
};

// AddElement flags.
enum AddElementFlag : int32_t {
    AddCData = 0x1,
    AddNoLineBreak = 0x2,
    AddSpaceBeforeSlash = 0x4,
    AddNoEndTag = 0x10,
    AddAsChild = 0x4000,
};

class XmlReader {
public:
    // Offsets are 32-bit: a longer document is not indexed and its parse
    // fails.
    static constexpr size_t kMaxDocumentLength = std::numeric_limits<int32_t>::max();

    XmlReader();

    // Replaces the document by text (none: empties it and releases the
    // index), clears the result log and parses. False at once, changing
    // nothing, in ReadFileMode or WriteFileMode.
    bool SetDocument();
    bool SetDocument(std::wstring text);

    // Reads a file through the encoding layer and parses it (Windows only;
    // defined with the file layer).
    bool LoadFile(const std::wstring& path);

    // Forward-only searches; an empty name matches any element and a name
    // beginning with "/" matches none.
    bool FindElement(std::wstring_view name = {});
    bool FindChildElement(std::wstring_view name = {});
    bool EnterElement();
    bool LeaveElement();

    std::wstring GetElementText(int32_t index) const;
    std::wstring GetChildText();
    std::wstring GetElementName(int32_t index) const;

    // Editing, used to write the result log. Names must be non-empty and
    // hold no character that ends a tag name or begins markup.
    bool AddElement(std::wstring_view name, std::wstring_view value, int32_t flags);
    bool SetAttribute(int32_t index, std::wstring_view name, std::wstring_view value);

    const std::wstring& Document() const { return document_; }
    const std::wstring& ResultLogText() const { return resultLog_.Text(); }
    int32_t DocumentFlags() const { return documentFlags_; }
    void SetDocumentFlags(int32_t flags) { documentFlags_ = flags; }
    int32_t ParentIndex() const { return parentIndex_; }
    int32_t CurrentIndex() const { return currentIndex_; }
    int32_t ChildIndex() const { return childIndex_; }
    int32_t NodeType() const { return nodeType_; }
    // The record at `index`, or a zeroed record for an index that names none.
    const ElementRecord& Record(int32_t index) const;
    // The number of records in use, record 0 included (0 before any parse).
    int32_t RecordCount() const { return nextFreeIndex_; }
    const ElementIndex& Elements() const { return elements_; }

private:
    bool Parse();

    bool Parsed() const { return nextFreeIndex_ > 0; }
    bool IsElement(int32_t index) const { return index > 0 && index < nextFreeIndex_; }
    void ResetCursor();
    // The tag name at start + 1, read in place.
    std::wstring_view ElementName(int32_t index) const;
    bool NameMatches(int32_t index, std::wstring_view name) const;

    // Editing helpers (xml_editing.cpp).
    int32_t TakeRecord();
    void InsertAt(int32_t position, std::wstring_view text);
    void ReplaceAt(int32_t position, int32_t length, std::wstring_view text);
    void ShiftOffsets(int32_t position, int32_t removed, int32_t inserted);
    bool OpenUp(int32_t index, bool lineBreak);
    void LinkAfter(int32_t parent, int32_t previous, int32_t index);

    std::wstring document_;
    ResultLog resultLog_;
    int32_t parentIndex_ = 0;
    int32_t currentIndex_ = 0;
    int32_t childIndex_ = 0;
    int32_t nextFreeIndex_ = 0;
    int32_t freedHead_ = 0;
    int32_t nodeType_ = 0;
    int32_t nodeOffset_ = 0;
    int32_t nodeLength_ = 0;
    int32_t documentFlags_ = 0;
    ElementIndex elements_;
};

}  // namespace xml
