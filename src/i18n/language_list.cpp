// The languages on offer: the product edition's own language first, then
// one entry per language pack of the manifest; and the language chosen at
// start among them.
#include "i18n/language_list.h"

#include <windows.h>

#include <cwchar>
#include <string_view>

#include "i18n/language_file.h"

namespace {

struct EditionLanguage {
    std::wstring_view code;
    int32_t langId;
    std::wstring_view name;
};

constexpr EditionLanguage kLocalisedEditions[] = {
    {L"DE", 1031, L"German"},
    {L"FR", 1036, L"French"},
    {L"ZA", 2052, L"Chinese (Simplified)"},
    {L"ZH", 1028, L"Chinese (Traditional)"},
    {L"JA", 1041, L"Japanese"},
};
constexpr EditionLanguage kEnglishEdition{L"", 1033, L"English"};

wchar_t AsciiUpper(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

// The edition is named by the last two characters of the product id (the
// whole id when it is shorter).
const EditionLanguage* FindLocalisedEdition(const std::wstring& pid)
{
    std::wstring_view code(pid);
    if (code.size() > 2)
        code.remove_prefix(code.size() - 2);
    for (const EditionLanguage& edition : kLocalisedEditions)
        if (EqualsAsciiNoCase(code, edition.code))
            return &edition;
    return nullptr;
}

}  // namespace

std::wstring GetLanguageTitle(const LanguageResources& resources, int32_t langId)
{
    return ReadLanguageString(resources.languageFolder, langId, L"LANGUAGE", L"Title", std::to_wstring(langId));
}

void BuildLanguageList(InstallerConfig& config, const std::wstring& requestedLanguage)
{
    config.language.languageFolder = config.exeFolder + L"\\language\\";

    const EditionLanguage* localised = FindLocalisedEdition(config.manifest.pid);
    const EditionLanguage& edition = localised ? *localised : kEnglishEdition;
    config.languages.clear();
    config.languages.push_back(LanguageOption{std::wstring(edition.name), edition.langId});

    // Every pack gives an entry, even one for a language already listed.
    for (const ManifestLanguagePack& pack : config.manifest.languagePacks)
        config.languages.push_back(LanguageOption{GetLanguageTitle(config.language, pack.langId), pack.langId});

    // The language asked for with "/lang" comes first, then a localised
    // edition's own, then the user's. A "/lang" value that is no positive
    // number falls back to the user's language, even for a localised edition.
    int32_t preferred = static_cast<int32_t>(GetUserDefaultUILanguage());
    if (!requestedLanguage.empty()) {
        long requested = std::wcstol(requestedLanguage.c_str(), nullptr, 10);
        if (requested > 0)
            preferred = static_cast<int32_t>(requested);
    } else if (localised) {
        preferred = edition.langId;
    }

    for (const LanguageOption& option : config.languages) {
        if (option.langId == preferred) {
            config.language.langId = preferred;
            break;
        }
    }

    if (config.languages.size() < 2)
        config.hasLanguageChoice = 0;
}
