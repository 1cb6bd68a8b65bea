// The names of the registry records the installer reads and writes.
//
//   HKCU  "SOFTWARE\ZYL Systems\Pictora Maxora\170"  "WebInstallerManifest"
//   HKLM  <registryKey>                              "InstallDir", "exe"
//   HKLM  <registryKey>\LanguagePacks                "InitialLangID"; one
//         subkey per installed language pack, named by its language id
//   HKCU  <registryKey>                              "ApplicationLanguage"
//   HKCU  "SOFTWARE\ZYL Systems\ResourceLangID\"     <program folder> +
//         "zylTandora2.exe" = the language id in decimal
//
// <registryKey> is the manifest's registry key path.
#pragma once

namespace registry_records {

inline constexpr wchar_t kRecordedManifestKey[] = L"SOFTWARE\\ZYL Systems\\Pictora Maxora\\170";
inline constexpr wchar_t kRecordedManifestValue[] = L"WebInstallerManifest";

inline constexpr wchar_t kInstallDirValue[] = L"InstallDir";
inline constexpr wchar_t kProgramValue[] = L"exe";

inline constexpr wchar_t kLanguagePacksSubkey[] = L"\\LanguagePacks";
inline constexpr wchar_t kInitialLanguageValue[] = L"InitialLangID";
inline constexpr wchar_t kApplicationLanguageValue[] = L"ApplicationLanguage";

inline constexpr wchar_t kResourceLanguageKey[] = L"SOFTWARE\\ZYL Systems\\ResourceLangID\\";
inline constexpr wchar_t kCompanionProgram[] = L"zylTandora2.exe";

// The language for which no language record is written.
inline constexpr int kEnglishLanguage = 1033;

}  // namespace registry_records
