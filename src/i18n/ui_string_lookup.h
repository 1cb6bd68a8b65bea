// LoadUIString and LoadLinkString: the text of a UI string table entry and
// the web address of an "IDS_RLINK_" entry in the current language.
//
// Both read the language identifier and folder afresh at every call and
// keep no cache, so a language change applies to the next lookup. Without a
// string.ini for the language (or without the key in it) the English
// default is returned.
#pragma once

#include <string>

#include "i18n/language_resources.h"
#include "i18n/ui_string_table.h"

// The entry's text from section "UISTRING" of the current language's file.
std::wstring LoadUIString(const LanguageResources& resources, const UIStringEntry& entry);
std::wstring LoadUIString(const LanguageResources& resources, UIStringId id);

// The entry's address from section "RLINK" of the current language's file.
std::wstring LoadLinkString(const LanguageResources& resources, const UIStringEntry& entry);
std::wstring LoadLinkString(const LanguageResources& resources, UIStringId id);
