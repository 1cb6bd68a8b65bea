// The languages on offer and the one chosen at start.
#pragma once

#include <cstdint>
#include <string>

#include "config/installer_config.h"

// Sets config.language.languageFolder to exeFolder + "\language\", fills
// config.languages, chooses config.language.langId (preferring the "/lang"
// value `requestedLanguage`) and may clear config.hasLanguageChoice.
void BuildLanguageList(InstallerConfig& config, const std::wstring& requestedLanguage);

// The display name of language `langId` as its own string.ini gives it.
std::wstring GetLanguageTitle(const LanguageResources& resources, int32_t langId);
