// The file names a manifest gives its components. Each is appended to a
// working folder of the elevated installer, so a name may only be a bare
// file name: anything that could lead out of the folder, or onto a device,
// would let a manifest choose where the installer writes.
#pragma once

#include <string>

#include "config/product_manifest.h"

// True for a name that stays a single file inside any folder: not empty,
// no "\", "/" or ":", none of the characters Windows refuses in names
// (< > " | ? * and controls), not "." or "..", not ending in a dot or a
// blank, and not a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or
// without an extension, in any letter case).
bool IsBareFileName(const std::wstring& name);

// True when the main component's, every transform's, language pack's and
// dependency's name is a bare file name; otherwise false with `bad` naming
// the first record that is not ("dependency ..\x.exe").
bool ManifestNamesSafe(const ProductManifest& manifest, std::wstring& bad);
