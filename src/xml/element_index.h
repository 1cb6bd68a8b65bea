// Element records in pages of 65,536: index i is record i & 0xFFFF of page
// i >> 16, so a record of a full page never moves when the index grows; only
// the table of page pointers is reallocated. While the index has one page,
// that page holds just the records asked for (a small document does not pay
// for 2 MiB) and is reallocated as it grows, until it is full. Record 0
// stands for the document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace xml {

enum ElementFlag : uint32_t {
    FirstChild = 0x80000,
    NotEnded = 0x100000,
    HasErrors = 0x200000,
    // The start tag or the end tag was longer than its field can hold; the
    // field holds its maximum, the element gives no text and cannot be
    // edited, and the parse fails.
    TagTooLong = 0x400000,
    DocumentIllFormed = 0x800000,
};

// Eight 32-bit words. The record is trivially constructible so that a page
// of 65,536 records is allocated without being written: the element builder
// fills every field of a record when it takes it. Use `ElementRecord r{}` for
// a zeroed record.
struct ElementRecord {
    static constexpr uint32_t kMaxStartTagLength = 0x3FFFFF;  // 22 bits
    static constexpr uint32_t kMaxEndTagLength = 0x3FF;       // 10 bits
    static constexpr uint32_t kMaxLevel = 0xFFFF;             // 16 bits

    int32_t start;
    int32_t length;
    uint32_t tagLengths;   // startTagLength: low 22 bits; endTagLength: high 10 bits
    uint32_t levelFlags;   // level: low 16 bits; flags (ElementFlag) high half
    int32_t parent;
    int32_t firstChild;
    int32_t nextSibling;
    int32_t previousSibling;

    int32_t StartTagLength() const { return static_cast<int32_t>(tagLengths & kMaxStartTagLength); }
    int32_t EndTagLength() const { return static_cast<int32_t>(tagLengths >> 22); }
    int32_t Level() const { return static_cast<int32_t>(levelFlags & kMaxLevel); }
    uint32_t Flags() const { return levelFlags & 0xFFFF0000u; }
    bool Has(ElementFlag f) const { return (levelFlags & f) != 0; }

    void SetTagLengths(uint32_t startTag, uint32_t endTag) {
        tagLengths = (startTag & kMaxStartTagLength) | (endTag << 22);
    }
    void SetStartTagLength(uint32_t startTag) {
        tagLengths = (tagLengths & ~kMaxStartTagLength) | (startTag & kMaxStartTagLength);
    }
    void SetEndTagLength(uint32_t endTag) {
        tagLengths = (tagLengths & kMaxStartTagLength) | (endTag << 22);
    }
    void Set(ElementFlag f) { levelFlags |= f; }
    void Clear(ElementFlag f) { levelFlags &= ~static_cast<uint32_t>(f); }
};
static_assert(sizeof(ElementRecord) == 32);

class ElementIndex {
public:
    static constexpr int32_t kPageSize = 65536;

    // The number of records the index holds without growing.
    int32_t Capacity() const { return capacity_; }
    // Makes the index hold at least `records` records. When the page table
    // is too short it is reallocated to twice the number of pages needed
    // plus 4. Records of full pages keep their addresses; records of a
    // partly allocated first page may move, so hold indexes, not references,
    // across a call that can grow the index.
    void Reserve(int32_t records);
    // Grows a full index by half of its size (at least by one record).
    // False when the index cannot grow any further.
    bool Grow();
    // Drops every page.
    void Release();

    // `index` must lie in [0, Capacity()).
    ElementRecord& At(int32_t index) {
        return pages_[static_cast<uint32_t>(index) >> 16][index & 0xFFFF];
    }
    const ElementRecord& At(int32_t index) const {
        return pages_[static_cast<uint32_t>(index) >> 16][index & 0xFFFF];
    }
    size_t PageTableSize() const { return pages_.size(); }

private:
    std::vector<std::unique_ptr<ElementRecord[]>> pages_;
    int32_t capacity_ = 0;
    int32_t firstPageSize_ = 0;  // records allocated in page 0
};

}  // namespace xml
