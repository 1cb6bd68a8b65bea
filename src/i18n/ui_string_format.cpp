#include "i18n/ui_string_format.h"

#include <algorithm>
#include <vector>

#include "base/debug_trace.h"

namespace {

void Pad(std::wstring& out, std::size_t count, wchar_t with)
{
    out.append(count, with);
}

void AppendText(std::wstring& out, const Placeholder& placeholder, std::wstring_view text)
{
    std::size_t pad = placeholder.width > text.size() ? placeholder.width - text.size() : 0;
    if (!placeholder.leftAlign)
        Pad(out, pad, L' ');
    out.append(text);
    if (placeholder.leftAlign)
        Pad(out, pad, L' ');
}

// As printf writes "%d": the sign, then zeros (flag "0") or spaces up to
// the width, left-aligned with flag "-".
void AppendNumber(std::wstring& out, const Placeholder& placeholder, long long number)
{
    unsigned long long magnitude =
        number < 0 ? 0ULL - static_cast<unsigned long long>(number) : static_cast<unsigned long long>(number);
    std::wstring digits;
    do {
        digits.push_back(static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    std::reverse(digits.begin(), digits.end());

    wchar_t sign = number < 0 ? L'-' : placeholder.plusSign ? L'+' : placeholder.spaceSign ? L' ' : L'\0';
    std::size_t length = digits.size() + (sign ? 1 : 0);
    std::size_t pad = placeholder.width > length ? placeholder.width - length : 0;
    if (placeholder.leftAlign) {
        if (sign)
            out.push_back(sign);
        out += digits;
        Pad(out, pad, L' ');
    } else if (placeholder.zeroPad) {
        if (sign)
            out.push_back(sign);
        Pad(out, pad, L'0');
        out += digits;
    } else {
        Pad(out, pad, L' ');
        if (sign)
            out.push_back(sign);
        out += digits;
    }
}

bool Fits(std::wstring_view text, std::span<const FormatArgument> arguments)
{
    std::vector<PlaceholderKind> kinds;
    kinds.reserve(arguments.size());
    for (const FormatArgument& argument : arguments)
        kinds.push_back(argument.Kind());
    return PlaceholdersMatch(text, kinds);
}

// `format` must fit `arguments` (checked by the caller).
std::wstring Format(std::wstring_view format, std::span<const FormatArgument> arguments)
{
    std::wstring out;
    FormatScanner scanner(format);
    std::size_t next = 0;
    for (;;) {
        switch (scanner.Next()) {
        case FormatScanner::Piece::End:
        case FormatScanner::Piece::Invalid:
            return out;
        case FormatScanner::Piece::Literal:
            out.append(scanner.Literal());
            break;
        case FormatScanner::Piece::Placeholder: {
            const FormatArgument& argument = arguments[next++];
            if (argument.Kind() == PlaceholderKind::Text)
                AppendText(out, scanner.Current(), argument.Text());
            else
                AppendNumber(out, scanner.Current(), argument.Number());
            break;
        }
        }
    }
}

}  // namespace

std::wstring FormatLookedUpText(std::wstring_view text, std::wstring_view defaultText,
                                std::span<const FormatArgument> arguments)
{
    if (!Fits(defaultText, arguments)) {
        DebugTrace(L"UI text formatted with arguments that do not fit its placeholders: " +
                   std::wstring(defaultText) + L"\r\n");
        return std::wstring(defaultText);
    }
    return Format(Fits(text, arguments) ? text : defaultText, arguments);
}
