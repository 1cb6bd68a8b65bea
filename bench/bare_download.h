// A bare WinINet download: one GET, 4 KiB reads, each written straight to
// the file. The baseline the transfer layer is measured against.
#pragma once

#include <cstdint>
#include <string>

// The bytes received, or -1 when the download failed.
int64_t BareDownload(const std::wstring& url, const std::wstring& file);
