// The node scanner: reads one node (markup, text or whitespace) of a
// document from a position and tells its type, bounds and diagnostics.
#pragma once

#include <cstdint>
#include <string_view>

#include "xml/result_log.h"

namespace xml {

enum NodeType : int32_t {
    NodeEndTag = 0,
    NodeElement = 1,
    NodeText = 2,
    NodeWhitespace = 4,
    NodeCData = 8,
    NodeProcessingInstruction = 16,
    NodeComment = 32,
    NodeDocumentType = 64,
    NodeError = -1,
    NodeEndOfText = -2,
};

constexpr int32_t kEmptyElement = 0x10000;

struct ScannedNode {
    int32_t type = NodeEndOfText;
    int32_t start = 0;
    int32_t length = 0;
    int32_t flags = 0;        // kEmptyElement for a start tag ending in "/>"
    int32_t nameStart = 0;    // start tags, end tags, processing instructions
    int32_t nameLength = 0;
    ResultLog diagnostics;    // the node's own records (syntax errors)
};

// Scans the node that begins at `position` of `text`, which ends at `end`
// (<= text.size()). The position after the node is start + length.
ScannedNode ScanNode(std::wstring_view text, int32_t position, int32_t end);

}  // namespace xml
