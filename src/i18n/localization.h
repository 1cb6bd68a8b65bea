// Localization: the installer's texts, languages and region rules.
//
// Contents of i18n/:
//   language_resources   LanguageResources (the current language and the
//                        per-language folder) and LanguageOption
//   ui_string_table      the UI strings: "IDS_" keys with English defaults
//   language_file        the per-language string.ini: its path and values
//   ui_string_lookup     LoadUIString, LoadLinkString
//   format_placeholders  the placeholders a UI text may hold as a format
//   ui_string_format     FormatUIString: a UI text with its arguments filled
//                        in, never with a translation that does not fit them
//   language_list        BuildLanguageList, GetLanguageTitle
//   slide_paths          the slideshow pictures of the current language
//   region_check         IsExplicitAcceptanceRegion
#pragma once

#include "i18n/language_list.h"
#include "i18n/language_resources.h"
#include "i18n/region_check.h"
#include "i18n/slide_paths.h"
#include "i18n/ui_string_format.h"
#include "i18n/ui_string_lookup.h"
#include "i18n/ui_string_table.h"
