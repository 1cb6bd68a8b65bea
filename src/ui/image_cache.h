// The images the controls draw: PNG resources decoded once and kept for the
// life of the process, and slide pictures loaded from files.
//
// Cached images are shared: controls keep the plain bitmap handle and size
// and rely on the cache to keep the bitmap alive. Main thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/image_wrapper.h"

// The PNG resource `id` (type "PNG") of `module` (the application's own
// module when null) with premultiplied alpha, ready for AlphaBlend. The
// first load decodes it and caches the result under `id`, also when the
// decoding fails (then the image is empty); later loads return the cached
// image without touching the resources. A resource that is missing or
// cannot be locked gives an empty reference and is not cached.
std::shared_ptr<CImageWrapper> LoadPngResource(unsigned id, HMODULE module = nullptr);

// The image file at `path` (a slide: JPEG, opaque, no premultiplication),
// owned by the caller; null when the file does not exist. A file that
// cannot be decoded gives an empty image (no bitmap, zero size).
std::unique_ptr<CImageWrapper> LoadImageFile(const std::wstring& path);
