// PNG and JPEG decoding through GDI+ into 32-bit DIB sections.
//
// GDI+ is started on demand by the first decode and stays up; the slide
// loader additionally counts its concurrent users and shuts GDI+ down when
// the last one leaves (GdiplusFileUse).
#pragma once

#include <objidl.h>

#include <string>

#include "ui/image_wrapper.h"

// Decodes the image in `stream` into a top-down 32-bit DIB section with
// straight (not premultiplied) alpha. On failure the wrapper is empty:
// no bitmap and zero size.
CImageWrapper DecodeImageStream(IStream* stream);

// The same for an image file.
CImageWrapper DecodeImageFile(const std::wstring& path);

// One user of GDI+ for the lifetime of the object. The count is guarded by
// a lock; when it drops back to 0 GDI+ is shut down and its token
// forgotten, so that the next decode starts it again.
class GdiplusFileUse {
public:
    GdiplusFileUse();
    ~GdiplusFileUse();
    GdiplusFileUse(const GdiplusFileUse&) = delete;
    GdiplusFileUse& operator=(const GdiplusFileUse&) = delete;
};

// Whether GDI+ is running in this process (started and not shut down).
bool GdiplusRunning();
