// Conversion of text between encodings (Windows).
//
// Encodings are named as CodePageOf knows them. 8-bit code pages (the ANSI
// code page and UTF-8 among them) go through MultiByteToWideChar and
// WideCharToMultiByte; 32-bit code points (the "UTF-32..." names, 65005)
// are converted by our own code to and from UTF-16 and UTF-8. Pairs that
// fit none of these produce nothing.
//
// Units: one byte for 8-bit code pages, one wchar_t for UTF-16 (1200), one
// uint32_t for 32-bit code points (65005).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

struct TextConversion {
    std::wstring targetEncoding;
    std::wstring sourceEncoding;
    const void* source = nullptr;
    int32_t sourceLength = 0;    // in source units
    // In: room of the target buffer in target units. Out: the units
    // produced, or needed when no target buffer was given.
    int32_t targetCapacity = 0;
    // Set when a character had no equivalent in the target code page.
    bool conversionLoss = false;
};

// Size in bytes of one unit of text in that code page (1, 2 or 4).
int32_t UnitSizeOf(int32_t codePage);

// Converts conversion.source into target, or only counts when target is
// null. A non-empty newTargetEncoding replaces conversion.targetEncoding
// first. Unknown names count as the ANSI code page. Never writes more than
// targetCapacity units: a target that is too small gives 0 units, as the
// platform calls do. Returns the number of target units (produced or
// needed).
int32_t ConvertText(TextConversion& conversion, void* target = nullptr,
                    std::wstring_view newTargetEncoding = {});

}  // namespace xml
