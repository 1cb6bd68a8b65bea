#include "ui/image_cache.h"

#include <shlwapi.h>

#include <cstring>
#include <unordered_map>

#include "ui/image_decoder.h"
#include "ui/image_pixels.h"

namespace {

struct GlobalMemoryTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static bool Valid(HGLOBAL h) { return h != nullptr; }
    static void Close(HGLOBAL h) { GlobalFree(h); }
};
using UniqueGlobalMemory = UniqueOwner<HGLOBAL, GlobalMemoryTraits>;

// Only grows: every image loaded from the resources lives until the
// process ends.
std::unordered_map<unsigned, std::shared_ptr<CImageWrapper>>& ImageCache()
{
    static std::unordered_map<unsigned, std::shared_ptr<CImageWrapper>> cache;
    return cache;
}

// The bytes of a resource in a movable global block, the form a stream on
// global memory needs.
UniqueGlobalMemory CopyToGlobalMemory(const void* bytes, DWORD size)
{
    UniqueGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block)
        return {};
    void* target = GlobalLock(block.Get());
    if (!target)
        return {};
    std::memcpy(target, bytes, size);
    GlobalUnlock(block.Get());
    return block;
}

CImageWrapper DecodePng(const void* bytes, DWORD size)
{
    UniqueGlobalMemory block = CopyToGlobalMemory(bytes, size);
    if (!block)
        return {};
    UniqueComPtr<IStream> stream;
    // The stream does not free the block; `block` does, after the stream.
    if (FAILED(CreateStreamOnHGlobal(block.Get(), FALSE, stream.Put())))
        return {};
    CImageWrapper image = DecodeImageStream(stream.Get());
    stream.Reset();
    if (!image.Bitmap())
        return {};

    DIBSECTION section = {};
    if (GetObjectW(image.Bitmap(), sizeof(section), &section) == sizeof(section) &&
        section.dsBm.bmBits)
        PremultiplyAlpha(static_cast<std::uint8_t*>(section.dsBm.bmBits), image.width,
                         image.height, section.dsBm.bmWidthBytes);
    return image;
}

}  // namespace

std::shared_ptr<CImageWrapper> LoadPngResource(unsigned id, HMODULE module)
{
    auto& cache = ImageCache();
    if (auto found = cache.find(id); found != cache.end())
        return found->second;

    if (!module)
        module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id & 0xFFFF), L"PNG");
    if (!info)
        return {};
    HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, info);
    if (!bytes || size == 0)
        return {};

    auto image = std::make_shared<CImageWrapper>(DecodePng(bytes, size));
    cache.emplace(id, image);
    return image;
}

std::unique_ptr<CImageWrapper> LoadImageFile(const std::wstring& path)
{
    if (!PathFileExistsW(path.c_str()))
        return nullptr;
    GdiplusFileUse use;
    return std::make_unique<CImageWrapper>(DecodeImageFile(path));
}
