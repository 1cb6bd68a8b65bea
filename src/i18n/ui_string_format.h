// FormatUIString: a UI text with its placeholders filled in.
//
// Every text shown with arguments ("%s is ready", "%02d secs
// remaining...") is formatted here. The looked-up text is used as the
// format only when its placeholders are those of the English default, of
// the same kinds in the same order; otherwise the default is used, so a
// faulty string.ini can never make the installer read an argument it was
// not given. The arguments themselves are checked against the default when
// the caller is compiled.
#pragma once

#include <array>
#include <concepts>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "i18n/format_placeholders.h"
#include "i18n/language_resources.h"
#include "i18n/ui_string_lookup.h"
#include "i18n/ui_string_table.h"

template <typename T>
concept FormatNumberType = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, wchar_t> &&
                           !std::same_as<T, char> && !std::same_as<T, char8_t> &&
                           !std::same_as<T, char16_t> && !std::same_as<T, char32_t>;

template <typename T>
concept FormatTextType = std::convertible_to<const T&, std::wstring_view>;

// One argument of a format: a text or a number.
class FormatArgument {
public:
    FormatArgument(std::wstring_view text) : kind_(PlaceholderKind::Text), text_(text) {}
    FormatArgument(const std::wstring& text) : FormatArgument(std::wstring_view(text)) {}
    FormatArgument(const wchar_t* text) : FormatArgument(std::wstring_view(text ? text : L"")) {}
    template <FormatNumberType T>
    FormatArgument(T number) : kind_(PlaceholderKind::Number), number_(static_cast<long long>(number))
    {
    }

    PlaceholderKind Kind() const { return kind_; }
    std::wstring_view Text() const { return text_; }
    long long Number() const { return number_; }

private:
    PlaceholderKind kind_;
    std::wstring_view text_;
    long long number_ = 0;
};

// `text` formatted with `arguments` when its placeholders are those of
// `defaultText`; otherwise `defaultText` formatted with them. Arguments that
// do not fit the default (a caller's fault) format nothing: the default is
// returned as it stands and a debug trace says so.
std::wstring FormatLookedUpText(std::wstring_view text, std::wstring_view defaultText,
                                std::span<const FormatArgument> arguments);

template <typename T>
constexpr PlaceholderKind ArgumentKindOf()
{
    using Plain = std::remove_cvref_t<T>;
    if constexpr (FormatNumberType<Plain>)
        return PlaceholderKind::Number;
    else {
        static_assert(FormatTextType<T>, "a UI text argument is a text or an integer");
        return PlaceholderKind::Text;
    }
}

// Whether arguments of types Args fit the placeholders of `text`.
template <typename... Args>
constexpr bool ArgumentsFit(std::wstring_view text)
{
    constexpr std::array<PlaceholderKind, sizeof...(Args)> kinds{ArgumentKindOf<Args>()...};
    return PlaceholdersMatch(text, kinds);
}

// The UI string `Id` in the current language, formatted with `arguments`.
template <UIStringId Id, typename... Args>
std::wstring FormatUIString(const LanguageResources& resources, const Args&... arguments)
{
    constexpr std::wstring_view defaultText = UIStringEntryFor(Id).defaultText;
    static_assert(ArgumentsFit<Args...>(defaultText),
                  "the arguments differ from the placeholders of the default text");
    const std::array<FormatArgument, sizeof...(Args)> packed{FormatArgument(arguments)...};
    return FormatLookedUpText(LoadUIString(resources, Id), defaultText, packed);
}
