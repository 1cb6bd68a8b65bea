// The parse: one pass over the nodes of the document builds the element
// index. Open elements are kept on a stack of names that point into the
// document, so no element costs an allocation of its own.
#include <algorithm>
#include <memory>

#include "xml/node_scanner.h"
#include "xml/xml_reader.h"

namespace xml {
namespace {

class ElementBuilder {
public:
    ElementBuilder(std::wstring_view document, ElementIndex& elements, ResultLog& log,
                   int32_t& nextFreeIndex)
        : document_(document), elements_(elements), log_(log), nextFreeIndex_(nextFreeIndex) {}

    void Run() {
        const int32_t end = static_cast<int32_t>(document_.size());
        int32_t position = 0;
        for (;;) {
            const ScannedNode node = ScanNode(document_, position, end);
            switch (node.type) {
            case NodeEndOfText:
                if (depth_) CloseNotEnded(0, end);
                return;
            case NodeElement: StartTag(node); break;
            case NodeEndTag: EndTag(node); break;
            case NodeError: SyntaxError(node); break;
            default: break;  // text, whitespace, CDATA, comments, PIs, DOCTYPE
            }
            position = node.start + node.length;
        }
    }

private:
    struct OpenElement {
        int32_t record;
        int32_t nameStart;
        int32_t nameLength;
    };

    static constexpr int32_t kInitialStack = 7;

    ElementRecord& At(int32_t index) { return elements_.At(index); }

    std::wstring_view Name(const OpenElement& open) const {
        return document_.substr(open.nameStart, open.nameLength);
    }

    void MarkIllFormed() { At(0).Set(DocumentIllFormed); }

    // An error inside the current parent.
    void MarkError() {
        MarkIllFormed();
        At(parent_).Set(HasErrors);
    }

    void TagTooLong(int32_t record, std::wstring_view name, int32_t offset) {
        At(record).Set(xml::TagTooLong);
        MarkError();
        log_.Append({L"tag_too_long", L"tagname", name, L"offset", offset, {}});
    }

    void Push(const OpenElement& open) {
        if (depth_ == stackCapacity_) {
            const int32_t capacity = stackCapacity_ ? stackCapacity_ * 2 : kInitialStack;
            auto grown = std::make_unique<OpenElement[]>(capacity);
            std::copy(stack_.get(), stack_.get() + depth_, grown.get());
            stack_ = std::move(grown);
            stackCapacity_ = capacity;
        }
        stack_[depth_++] = open;
    }

    // Links `index` as the last child of `parent`. The first child's
    // previousSibling names the last child, so this takes one step.
    void LinkLastChild(int32_t parent, int32_t index) {
        ElementRecord& record = At(index);
        ElementRecord& owner = At(parent);
        if (!owner.firstChild) {
            owner.firstChild = index;
            record.previousSibling = index;
            record.Set(FirstChild);
            return;
        }
        ElementRecord& first = At(owner.firstChild);
        const int32_t last = first.previousSibling;
        At(last).nextSibling = index;
        record.previousSibling = last;
        first.previousSibling = index;
    }

    void StartTag(const ScannedNode& node) {
        if (nextFreeIndex_ >= elements_.Capacity() && !elements_.Grow()) {
            MarkError();  // cannot happen for documents of 32-bit length
            return;
        }
        const int32_t index = nextFreeIndex_++;
        ElementRecord& record = At(index);
        record.start = node.start;
        record.length = node.length;  // stays the start tag's length until an end tag
        record.SetTagLengths(static_cast<uint32_t>(node.length), 0);
        record.levelFlags = static_cast<uint32_t>(std::min<int32_t>(depth_, ElementRecord::kMaxLevel));
        record.parent = parent_;
        record.firstChild = 0;
        record.nextSibling = 0;
        LinkLastChild(parent_, index);

        const std::wstring_view name = document_.substr(node.nameStart, node.nameLength);
        if (static_cast<uint32_t>(node.length) > ElementRecord::kMaxStartTagLength) {
            record.SetTagLengths(ElementRecord::kMaxStartTagLength, 0);
            TagTooLong(index, name, node.start);
        }
        if (node.flags & kEmptyElement) return;
        Push({index, node.nameStart, node.nameLength});
        parent_ = index;
    }

    void EndTag(const ScannedNode& node) {
        const std::wstring_view name = document_.substr(node.nameStart, node.nameLength);
        int32_t found = depth_ - 1;
        while (found >= 0 && Name(stack_[found]) != name) --found;
        if (found < 0) {
            MarkError();
            log_.Append({L"lone_end_tag", L"tagname", name, L"offset", node.start, {}});
            return;
        }
        const int32_t index = stack_[found].record;
        if (found + 1 < depth_) CloseNotEnded(found + 1, node.start + 1);

        ElementRecord& record = At(index);
        record.length = node.start + node.length - record.start;
        if (static_cast<uint32_t>(node.length) > ElementRecord::kMaxEndTagLength) {
            record.SetEndTagLength(ElementRecord::kMaxEndTagLength);
            parent_ = index;  // the error lies inside the element
            TagTooLong(index, name, node.start);
        } else {
            record.SetEndTagLength(static_cast<uint32_t>(node.length));
        }
        depth_ = found;
        parent_ = record.parent;
    }

    void SyntaxError(const ScannedNode& node) {
        MarkError();
        log_.AppendLog(node.diagnostics);
    }

    // Closes the open elements stack_[from] to the top as not ended,
    // innermost first. Each one's children become its following siblings;
    // for the whole run that flattens all of them, in document order, under
    // the parent of stack_[from]. Done in one pass, so that every child is
    // re-linked once however deep the run is. `offset2` is the "/" of the
    // end tag that closed an outer element, or the document length.
    void CloseNotEnded(int32_t from, int32_t offset2) {
        for (int32_t d = depth_ - 1; d >= from; --d) {
            ElementRecord& record = At(stack_[d].record);
            record.Set(NotEnded);
            record.SetEndTagLength(0);  // length is still the start tag's
            log_.Append({L"unended_start_tag", L"tagname", Name(stack_[d]), L"offset",
                         record.start, offset2});
        }
        MarkIllFormed();

        const int32_t owner = At(stack_[from].record).parent;
        bool errors = false;
        int32_t tail = stack_[from].record;
        for (int32_t d = from; d < depth_; ++d) {
            ElementRecord& record = At(stack_[d].record);
            if (record.Has(HasErrors)) {
                errors = true;
                record.Clear(HasErrors);
            }
            const int32_t first = record.firstChild;
            if (!first) continue;
            record.firstChild = 0;
            ElementRecord& firstRecord = At(first);
            const int32_t last = firstRecord.previousSibling;
            firstRecord.Clear(FirstChild);
            firstRecord.previousSibling = tail;
            At(tail).nextSibling = first;
            for (int32_t child = first; child; child = At(child).nextSibling)
                At(child).parent = owner;
            tail = last;
        }
        At(tail).nextSibling = 0;
        At(At(owner).firstChild).previousSibling = tail;
        if (errors) At(owner).Set(HasErrors);
        depth_ = from;
        parent_ = owner;
    }

    std::wstring_view document_;
    ElementIndex& elements_;
    ResultLog& log_;
    int32_t& nextFreeIndex_;
    std::unique_ptr<OpenElement[]> stack_;
    int32_t stackCapacity_ = 0;
    int32_t depth_ = 0;
    int32_t parent_ = 0;
};

}  // namespace

bool XmlReader::Parse() {
    ResetCursor();
    nextFreeIndex_ = 1;
    freedHead_ = 0;
    const size_t length = document_.size();
    const size_t indexed = length > kMaxDocumentLength ? 0 : length;
    elements_.Reserve(static_cast<int32_t>(indexed / 64 + 8));
    elements_.At(0) = ElementRecord{};

    if (length > kMaxDocumentLength) {
        // Offsets would not fit their 32-bit fields: nothing is indexed.
        elements_.At(0).Set(DocumentIllFormed);
    } else if (length) {
        ElementBuilder(document_, elements_, resultLog_, nextFreeIndex_).Run();
        // The builder may have grown the index: take record 0 afresh.
        ElementRecord& document = elements_.At(0);
        document.length = static_cast<int32_t>(length);
        if (nextFreeIndex_ == 1) {
            resultLog_.Append({L"no_root_element", {}, {}, {}, 0, {}});
        } else if (elements_.At(document.firstChild).nextSibling) {
            resultLog_.Append({L"root_has_sibling", {}, {}, {}, 0, {}});
        }
    }

    ResetCursor();
    const ElementRecord& document = elements_.At(0);
    return !document.Has(DocumentIllFormed) && document.firstChild &&
           !elements_.At(document.firstChild).nextSibling;
}

}  // namespace xml
