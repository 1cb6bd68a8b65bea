// The slideshow pictures of the current language:
// languageFolder\<langId>\slides\<100|125|150|200>\*.jpg, the folder chosen
// by the screen's DPI.
#pragma once

#include <string>
#include <vector>

#include "i18n/language_resources.h"

// The display scale in percent whose slide folder serves a snapped DPI:
// 200 from 192, 150 from 144, 125 from 120, 100 below.
int SlideScalePercent(int snappedDpi);

// languageFolder, langId, "\slides\", the scale, "\".
std::wstring SlideFolder(const LanguageResources& resources, int scalePercent);

// The ".jpg" files of `folder` (which ends in a backslash) as full paths,
// sorted by name as NTFS lists them (ordinal, ignoring case) whatever order
// the file system returns them in. Folders, and files whose full path would
// exceed 259 characters, are left out.
std::vector<std::wstring> FindSlideFiles(const std::wstring& folder);

// Slide paths found once and then kept: a later change of language or DPI
// does not search again; while nothing has been found, every call searches.
class SlideCache {
public:
    std::vector<std::wstring> Get(const LanguageResources& resources, int snappedDpi);

private:
    std::vector<std::wstring> paths_;
};

// A copy of the process-wide slide list, filled on first success for the
// screen's DPI (SnappedDpi).
std::vector<std::wstring> GetSlidePaths(const LanguageResources& resources);
