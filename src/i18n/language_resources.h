// The current user-interface language and the languages on offer.
#pragma once

#include <cstdint>
#include <string>

struct LanguageResources {
    int32_t langId = 1033;
    // exeFolder + "\language\", trailing backslash included.
    std::wstring languageFolder;
};

struct LanguageOption {
    std::wstring name;
    int32_t langId = 0;
};
