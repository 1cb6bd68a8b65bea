// Where downloaded bytes go. DownloadUrlToFile writes staged blocks at
// absolute offsets into an IDownloadFile; DownloadUrlToStream appends to an
// IByteStream. OutputFile (download_file.h) is the real file behind both.
// A failed operation returns false and leaves its system error code in
// GetLastError(); the transfer then ends as a failure.
#pragma once

#include <cstddef>
#include <cstdint>

class IDownloadFile {
public:
    virtual bool Seek(uint64_t offset) = 0;
    virtual bool Write(const void* data, size_t size) = 0;
    virtual bool Flush() = 0;

protected:
    ~IDownloadFile() = default;
};

class IByteStream {
public:
    virtual bool Append(const void* data, size_t size) = 0;

protected:
    ~IByteStream() = default;
};
