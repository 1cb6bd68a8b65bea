// The placeholders of a UI text used as a format: "%s" (a text), "%d" or
// "%i" (a number), with the flags "-", "0", "+" and " " and a width up to
// 259 ("%02d"); "%%" is a literal "%". Anything else after a "%" (a
// precision, a length modifier, "*", "%n", positional forms, a "%" at the
// end) makes the text unusable as a format.
//
// constexpr, so that a caller's arguments are checked against a default
// text when the caller is compiled.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

enum class PlaceholderKind : unsigned char { Text, Number };

struct Placeholder {
    PlaceholderKind kind = PlaceholderKind::Text;
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool spaceSign = false;
    std::size_t width = 0;
};

inline constexpr std::size_t kMaxPlaceholderWidth = 259;

// Splits a format text into literal runs and placeholders, front to back.
class FormatScanner {
public:
    enum class Piece { End, Literal, Placeholder, Invalid };

    constexpr explicit FormatScanner(std::wstring_view text) : text_(text) {}

    constexpr Piece Next()
    {
        if (pos_ >= text_.size())
            return Piece::End;
        if (text_[pos_] != L'%') {
            std::size_t end = text_.find(L'%', pos_);
            if (end == std::wstring_view::npos)
                end = text_.size();
            literal_ = text_.substr(pos_, end - pos_);
            pos_ = end;
            return Piece::Literal;
        }
        std::size_t at = pos_ + 1;
        if (at < text_.size() && text_[at] == L'%') {
            literal_ = text_.substr(at, 1);
            pos_ = at + 1;
            return Piece::Literal;
        }
        Placeholder found;
        for (; at < text_.size(); ++at) {
            wchar_t c = text_[at];
            if (c == L'-')
                found.leftAlign = true;
            else if (c == L'0')
                found.zeroPad = true;
            else if (c == L'+')
                found.plusSign = true;
            else if (c == L' ')
                found.spaceSign = true;
            else
                break;
        }
        for (; at < text_.size() && text_[at] >= L'0' && text_[at] <= L'9'; ++at) {
            found.width = found.width * 10 + static_cast<std::size_t>(text_[at] - L'0');
            if (found.width > kMaxPlaceholderWidth)
                return Piece::Invalid;
        }
        if (at >= text_.size())
            return Piece::Invalid;
        switch (text_[at]) {
        case L's':
            found.kind = PlaceholderKind::Text;
            break;
        case L'd':
        case L'i':
            found.kind = PlaceholderKind::Number;
            break;
        default:
            return Piece::Invalid;
        }
        placeholder_ = found;
        pos_ = at + 1;
        return Piece::Placeholder;
    }

    constexpr std::wstring_view Literal() const { return literal_; }
    constexpr const Placeholder& Current() const { return placeholder_; }

private:
    std::wstring_view text_;
    std::size_t pos_ = 0;
    std::wstring_view literal_;
    Placeholder placeholder_;
};

// Whether `text` is a usable format whose placeholders are exactly `kinds`,
// in that order.
constexpr bool PlaceholdersMatch(std::wstring_view text, std::span<const PlaceholderKind> kinds)
{
    FormatScanner scanner(text);
    std::size_t next = 0;
    for (;;) {
        switch (scanner.Next()) {
        case FormatScanner::Piece::End:
            return next == kinds.size();
        case FormatScanner::Piece::Invalid:
            return false;
        case FormatScanner::Piece::Literal:
            break;
        case FormatScanner::Piece::Placeholder:
            if (next >= kinds.size() || scanner.Current().kind != kinds[next])
                return false;
            ++next;
            break;
        }
    }
}
