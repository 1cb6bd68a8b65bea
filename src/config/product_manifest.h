// ProductManifest: the install manifest (config\manifest.xml) in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/version_descriptor.h"

// Each downloadable record may carry the SHA-256 its file must have
// (`sha256`, the element's text as written; absent: the file is not
// checked). LoadConfiguration refuses a manifest whose digest is not 64
// hex digits.
struct ManifestTransform {
    int32_t langId = 0;
    std::wstring name;
    std::wstring fullUrl;
    std::optional<std::wstring> sha256;

    bool operator==(const ManifestTransform&) const = default;
};

struct ManifestLanguagePack {
    int32_t langId = 0;
    std::wstring pid;
    std::wstring name;
    std::wstring fullUrl;
    std::optional<std::wstring> sha256;

    bool operator==(const ManifestLanguagePack&) const = default;
};

struct ManifestDependency {
    std::wstring name;
    std::wstring fullUrl;
    std::wstring installCommandLine;
    std::optional<std::wstring> sha256;

    bool operator==(const ManifestDependency&) const = default;
};

struct ProductManifest {
    std::wstring webInstallerVersion;
    std::wstring productCode;
    std::wstring pid;
    std::wstring fullName;
    std::wstring shortName;
    std::wstring registryKey;
    bool standalone = false;
    std::wstring standaloneVersion;
    std::wstring versionCheckUrl;
    VersionDescriptor versionInfo;
    std::wstring mainComponentName;
    std::wstring mainComponentUrl;
    std::optional<std::wstring> mainComponentSha256;
    std::vector<ManifestLanguagePack> languagePacks;
    std::vector<ManifestDependency> dependencies;
    std::vector<ManifestTransform> transforms;
    std::wstring mainComponentExecutable;

    // Copying (the implicit member-wise operations) replaces every field,
    // the three lists element by element in their order; assigning a model
    // to itself changes nothing.
    bool operator==(const ProductManifest&) const = default;
};

// Reads the manifest file at `path` into `manifest`. Elements are searched
// forward only, each level in a fixed order (manifest_reader.cpp lists it),
// so an element that stands before one found earlier at its level is not
// read; a record without its key element is skipped; a field whose
// element is missing keeps its value, and the three lists are appended to.
// False, with the model untouched, when the file cannot be read or is not
// well-formed; true otherwise, whether or not it held any product data.
bool LoadManifest(const std::wstring& path, ProductManifest& manifest);

// True when every digest the manifest gives is 64 hex digits; otherwise
// false with `bad` naming the record ("dependency vc_redist.exe").
bool ManifestDigestsWellFormed(const ProductManifest& manifest, std::wstring& bad);
