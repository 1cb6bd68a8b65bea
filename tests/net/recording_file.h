// RecordingFile: the file seam of DownloadUrlToFile with a real file behind
// it, which notes every seek, write and flush as it passes, and whether the
// calling thread held downloadWriteLock at that moment. With failWrites
// (failFlush) set, every write (flush) is refused with that system error
// code, as a full disk would.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "net/download_file.h"
#include "net/internet_session.h"

namespace net_test {

struct FileCall {
    enum Kind { Seek, Write, Flush } kind;
    uint64_t value = 0;  // the offset of a seek, the size of a write
    bool locked = false;

    bool operator==(const FileCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const FileCall& call)
{
    static const char* const kNames[] = {"seek", "write", "flush"};
    out << kNames[call.kind];
    if (call.kind != FileCall::Flush)
        out << " " << call.value;
    return out << (call.locked ? " (locked)" : " (NOT locked)");
}

class RecordingFile : public IDownloadFile {
public:
    bool Open(const std::wstring& path) { return file_.Open(path, OutputFile::Sharing::Exclusive); }
    void Close() { file_.Close(); }

    bool Seek(uint64_t offset) override
    {
        calls.push_back({FileCall::Seek, offset, LockHeld()});
        return file_.Seek(offset);
    }
    bool Write(const void* data, size_t size) override
    {
        calls.push_back({FileCall::Write, size, LockHeld()});
        if (failWrites) {
            SetLastError(failWrites);
            return false;
        }
        return file_.Write(data, size);
    }
    bool Flush() override
    {
        calls.push_back({FileCall::Flush, 0, LockHeld()});
        if (failFlush) {
            SetLastError(failFlush);
            return false;
        }
        return file_.Flush();
    }

    std::vector<FileCall> calls;
    DWORD failWrites = 0;
    DWORD failFlush = 0;

private:
    static bool LockHeld()
    {
        return downloadWriteLock.OwningThread == reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId()));
    }

    OutputFile file_;
};

}  // namespace net_test
