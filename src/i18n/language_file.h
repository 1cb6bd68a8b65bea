// The per-language string.ini: where it lies and how a value is read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "i18n/language_resources.h"

// languageFolder, the language identifier in decimal, "\string.ini".
std::wstring LanguageFilePath(const std::wstring& languageFolder, int32_t langId);

// The value of `key` in `section` of the string.ini of `langId`, or
// `defaultText` when there is no such file, section or key. A key present
// with an empty value gives an empty text. Names match regardless of ASCII
// case; values are cut to 259 characters.
std::wstring ReadLanguageString(const std::wstring& languageFolder, int32_t langId, const wchar_t* section,
                                std::wstring_view key, std::wstring_view defaultText);
