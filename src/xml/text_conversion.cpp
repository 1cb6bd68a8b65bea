#include "xml/text_conversion.h"

#include <windows.h>

#include <climits>
#include <string>

#include "xml/code_pages.h"

namespace xml {
namespace {

constexpr uint32_t kReplacement = '?';

bool IsValidCodePoint(uint32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// Where converted units go: counted only, or written while they fit.
template <typename Unit>
class UnitSink {
public:
    UnitSink(void* target, int32_t capacity)
        : target_(static_cast<Unit*>(target)), capacity_(capacity) {}

    void Put(uint32_t unit) {
        if (target_ != nullptr) {
            if (count_ >= capacity_) {
                overflow_ = true;
                return;
            }
            target_[count_] = static_cast<Unit>(unit);
        }
        ++count_;
    }

    // The units produced, or needed when counting; 0 when they did not fit
    // (or would not fit a 32-bit count).
    int32_t Result() const {
        return overflow_ || count_ > INT32_MAX ? 0 : static_cast<int32_t>(count_);
    }

private:
    Unit* target_;
    int64_t capacity_;
    int64_t count_ = 0;
    bool overflow_ = false;
};

// Code point readers: call emit(code point) for each character. Every code
// point they emit is valid; what cannot be read becomes "?".

template <typename Emit>
void ReadUtf16(const wchar_t* text, int32_t length, Emit emit) {
    for (int32_t i = 0; i < length; ++i) {
        const uint32_t unit = static_cast<uint16_t>(text[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length) {
            const uint32_t low = static_cast<uint16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                emit(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        // A surrogate without its partner, at the end or anywhere else.
        emit(unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
    }
}

template <typename Emit>
void ReadCodePoints(const uint32_t* text, int32_t length, Emit emit) {
    for (int32_t i = 0; i < length; ++i) {
        emit(IsValidCodePoint(text[i]) ? text[i] : kReplacement);
    }
}

// An invalid byte, or a sequence that is cut off, overlong, a surrogate or
// beyond U+10FFFF, becomes one "?" per maximal invalid run.
template <typename Emit>
void ReadUtf8(const unsigned char* text, int32_t length, Emit emit) {
    int32_t i = 0;
    while (i < length) {
        const uint32_t lead = text[i];
        int32_t follow = 0;
        uint32_t value = 0;
        uint32_t secondLow = 0x80;
        uint32_t secondHigh = 0xBF;
        if (lead < 0x80) {
            emit(lead);
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            follow = 1;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2;
            value = lead & 0x0F;
            if (lead == 0xE0) secondLow = 0xA0;   // overlong
            if (lead == 0xED) secondHigh = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3;
            value = lead & 0x07;
            if (lead == 0xF0) secondLow = 0x90;   // overlong
            if (lead == 0xF4) secondHigh = 0x8F;  // beyond U+10FFFF
        } else {
            emit(kReplacement);
            ++i;
            continue;
        }
        int32_t taken = 1;
        bool complete = true;
        for (int32_t k = 1; k <= follow; ++k) {
            if (i + k >= length) {
                complete = false;
                break;
            }
            const uint32_t byte = text[i + k];
            const uint32_t low = k == 1 ? secondLow : 0x80;
            const uint32_t high = k == 1 ? secondHigh : 0xBF;
            if (byte < low || byte > high) {
                complete = false;
                break;
            }
            value = (value << 6) | (byte & 0x3F);
            ++taken;
        }
        emit(complete ? value : kReplacement);
        i += taken;
    }
}

// Code point writers.

template <typename Sink>
void WriteUtf8(Sink& sink, uint32_t c) {
    if (c < 0x80) {
        sink.Put(c);
    } else if (c < 0x800) {
        sink.Put(0xC0 | (c >> 6));
        sink.Put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        sink.Put(0xE0 | (c >> 12));
        sink.Put(0x80 | ((c >> 6) & 0x3F));
        sink.Put(0x80 | (c & 0x3F));
    } else {
        sink.Put(0xF0 | (c >> 18));
        sink.Put(0x80 | ((c >> 12) & 0x3F));
        sink.Put(0x80 | ((c >> 6) & 0x3F));
        sink.Put(0x80 | (c & 0x3F));
    }
}

template <typename Sink>
void WriteUtf16(Sink& sink, uint32_t c) {
    if (c < 0x10000) {
        sink.Put(c);
    } else {
        c -= 0x10000;
        sink.Put(0xD800 + (c >> 10));
        sink.Put(0xDC00 + (c & 0x3FF));
    }
}

// Targets for which WideCharToMultiByte refuses to tell whether it used a
// default character.
bool RefusesLossAnswer(int32_t codePage) {
    return codePage == 65000 || codePage == 65001 ||
           (codePage >= 50220 && codePage <= 50222) || codePage == 50225 ||
           codePage == 50227 || codePage == 50229 || codePage == 52936 ||
           codePage == 54936 || (codePage >= 57002 && codePage <= 57011);
}

bool IsEightBit(int32_t codePage) {
    return codePage != kUtf16CodePage && codePage != kUtf32CodePoints;
}

int32_t ResolvedCodePage(std::wstring_view name) {
    const int32_t codePage = CodePageOf(name);
    if (codePage == kUnknownCodePage || codePage == kAnsiCodePage) {
        return static_cast<int32_t>(GetACP());
    }
    return codePage;
}

// MultiByteToWideChar that keeps to the "too small gives 0" rule even where
// the platform stops at a character that no longer fits and reports the
// units written so far (Wine does so for a surrogate pair at the end). A
// buffer filled to the last unit is checked against a count of the whole.
int32_t MultiByteToWide(int32_t codePage, const char* source, int32_t length, wchar_t* target,
                        int32_t capacity) {
    const UINT page = static_cast<UINT>(codePage);
    const int32_t produced = MultiByteToWideChar(page, 0, source, length, target,
                                                 target != nullptr ? capacity : 0);
    if (target != nullptr && produced > 0 && produced == capacity &&
        MultiByteToWideChar(page, 0, source, length, nullptr, 0) != produced) {
        return 0;
    }
    return produced;
}

int32_t WideToMultiByte(int32_t codePage, const wchar_t* source, int32_t length,
                        void* target, int32_t capacity, bool& loss) {
    BOOL usedDefault = FALSE;
    const int32_t produced = WideCharToMultiByte(
        static_cast<UINT>(codePage), 0, source, length, static_cast<char*>(target),
        target != nullptr ? capacity : 0, nullptr,
        RefusesLossAnswer(codePage) ? nullptr : &usedDefault);
    loss = usedDefault != FALSE;
    return produced;
}

}  // namespace

int32_t UnitSizeOf(int32_t codePage) {
    if (codePage == kUtf16CodePage) return 2;
    if (codePage == kUtf32CodePoints) return 4;
    return 1;
}

int32_t ConvertText(TextConversion& conversion, void* target,
                    std::wstring_view newTargetEncoding) {
    if (!newTargetEncoding.empty()) conversion.targetEncoding = newTargetEncoding;
    conversion.conversionLoss = false;

    const int32_t from = ResolvedCodePage(conversion.sourceEncoding);
    const int32_t to = ResolvedCodePage(conversion.targetEncoding);
    const int32_t length = conversion.sourceLength;
    const int32_t capacity = target != nullptr ? conversion.targetCapacity : 0;

    int32_t produced = 0;
    if (conversion.source == nullptr || length <= 0 ||
        (target != nullptr && capacity <= 0)) {
        produced = 0;
    } else if (from == kUtf16CodePage && to == kUtf32CodePoints) {
        UnitSink<uint32_t> sink(target, capacity);
        ReadUtf16(static_cast<const wchar_t*>(conversion.source), length,
                  [&](uint32_t c) { sink.Put(c); });
        produced = sink.Result();
    } else if (from == kUtf32CodePoints && to == kUtf8CodePage) {
        UnitSink<unsigned char> sink(target, capacity);
        ReadCodePoints(static_cast<const uint32_t*>(conversion.source), length,
                       [&](uint32_t c) { WriteUtf8(sink, c); });
        produced = sink.Result();
    } else if (from == kUtf32CodePoints && to == kUtf16CodePage) {
        UnitSink<wchar_t> sink(target, capacity);
        ReadCodePoints(static_cast<const uint32_t*>(conversion.source), length,
                       [&](uint32_t c) { WriteUtf16(sink, c); });
        produced = sink.Result();
    } else if (from == kUtf8CodePage && to == kUtf32CodePoints) {
        UnitSink<uint32_t> sink(target, capacity);
        ReadUtf8(static_cast<const unsigned char*>(conversion.source), length,
                 [&](uint32_t c) { sink.Put(c); });
        produced = sink.Result();
    } else if (IsEightBit(from) && to == kUtf16CodePage) {
        produced = MultiByteToWide(from, static_cast<const char*>(conversion.source), length,
                                   static_cast<wchar_t*>(target), capacity);
    } else if (from == kUtf16CodePage && IsEightBit(to)) {
        produced = WideToMultiByte(to, static_cast<const wchar_t*>(conversion.source),
                                   length, target, capacity, conversion.conversionLoss);
    } else if (IsEightBit(from) && IsEightBit(to)) {
        const char* source = static_cast<const char*>(conversion.source);
        const int32_t wide = MultiByteToWide(from, source, length, nullptr, 0);
        if (wide > 0) {
            std::wstring text(static_cast<size_t>(wide), L'\0');
            if (MultiByteToWide(from, source, length, text.data(), wide) == wide) {
                produced = WideToMultiByte(to, text.data(), wide, target, capacity,
                                           conversion.conversionLoss);
            }
        }
    }
    // Any other pair produces nothing.

    if (produced < 0) produced = 0;
    conversion.targetCapacity = produced;
    return produced;
}

}  // namespace xml
