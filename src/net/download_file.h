// OutputFile: a local file opened for a download, created or emptied, written
// as raw bytes. It is both the random-access target of DownloadUrlToFile and
// the append-only stream of DownloadUrlToStream.
#pragma once

#include <string>

#include "base/unique_handle.h"
#include "net/transfer_targets.h"

// Opens a complete download for reading with read sharing only: while the
// handle is open nobody can open the file to write to it, delete it or
// rename it, and readers (the program's start, the Windows Installer) can.
// Null (GetLastError() tells why) when it cannot be opened so.
UniqueHandle HoldDownloadedFile(const std::wstring& path);

class OutputFile : public IDownloadFile, public IByteStream {
public:
    enum class Sharing {
        Exclusive,      // no other opener while it is open (download jobs)
        OthersAllowed,  // others may read and write it meanwhile
    };

    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file, or empties it when it exists; false (GetLastError()
    // tells why) when it cannot be opened.
    bool Open(const std::wstring& path, Sharing sharing);
    // Opens an existing file exclusively to continue it after its first
    // `length` bytes (what lies beyond them is cut off); false when it
    // cannot be opened or holds fewer bytes.
    bool OpenToContinue(const std::wstring& path, uint64_t length);
    bool IsOpen() const { return static_cast<bool>(file_); }
    void Close() { file_.Reset(); }

    bool Seek(uint64_t offset) override;
    bool Write(const void* data, size_t size) override;
    bool Flush() override;
    bool Append(const void* data, size_t size) override;

private:
    UniqueHandle file_;
};
