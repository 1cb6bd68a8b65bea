#include "i18n/ui_string_lookup.h"

#include "i18n/language_file.h"

std::wstring LoadUIString(const LanguageResources& resources, const UIStringEntry& entry)
{
    return ReadLanguageString(resources.languageFolder, resources.langId, L"UISTRING", entry.key,
                              entry.defaultText);
}

std::wstring LoadUIString(const LanguageResources& resources, UIStringId id)
{
    return LoadUIString(resources, UIStringEntryFor(id));
}

std::wstring LoadLinkString(const LanguageResources& resources, const UIStringEntry& entry)
{
    return ReadLanguageString(resources.languageFolder, resources.langId, L"RLINK", entry.key, entry.defaultText);
}

std::wstring LoadLinkString(const LanguageResources& resources, UIStringId id)
{
    return LoadLinkString(resources, UIStringEntryFor(id));
}
