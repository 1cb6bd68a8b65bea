// IsPrerequisitePresent: the prerequisite table's rules applied to what the
// registry holds.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "config/product_manifest.h"
#include "install/prerequisite_rules.h"

// Whether `dependency` is already on the machine. Its name, converted to
// the thread's ANSI code page, picks the rule; a name that is not in the
// table, or cannot be converted, counts as missing.
bool IsPrerequisitePresent(const ManifestDependency& dependency);

// Runs one rule against the registry.
bool DetectPrerequisite(PrerequisiteRule rule);

// The registry reads behind the rules; keys are opened for reading only.
// A string value; nothing when the key or the value cannot be read.
std::optional<std::wstring> ReadRecordedVersion(HKEY root, const std::wstring& keyPath, const std::wstring& valueName);
// "Major", "Minor" and "Bld" (4-byte values; one that cannot be read is 0);
// nothing when the key cannot be opened.
std::optional<VcRuntimeVersion> ReadVcRuntimeVersion(HKEY root, const std::wstring& keyPath);
