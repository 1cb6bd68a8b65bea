#include "net/download_file.h"

#include <windows.h>

UniqueHandle HoldDownloadedFile(const std::wstring& path)
{
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool OutputFile::Open(const std::wstring& path, Sharing sharing)
{
    DWORD share = sharing == Sharing::Exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    DWORD flags = FILE_ATTRIBUTE_NORMAL | (sharing == Sharing::Exclusive ? FILE_FLAG_RANDOM_ACCESS : 0);
    file_.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, share, nullptr, CREATE_ALWAYS, flags, nullptr));
    return IsOpen();
}

bool OutputFile::OpenToContinue(const std::wstring& path, uint64_t length)
{
    file_.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr));
    LARGE_INTEGER size{};
    if (!IsOpen() || !GetFileSizeEx(file_.Get(), &size) || static_cast<uint64_t>(size.QuadPart) < length ||
        !Seek(length) || !SetEndOfFile(file_.Get())) {
        DWORD error = GetLastError();
        Close();
        SetLastError(error ? error : ERROR_HANDLE_EOF);
        return false;
    }
    return true;
}

bool OutputFile::Seek(uint64_t offset)
{
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file_.Get(), distance, nullptr, FILE_BEGIN) != 0;
}

bool OutputFile::Write(const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        DWORD part = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file_.Get(), bytes, part, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool OutputFile::Flush()
{
    return FlushFileBuffers(file_.Get()) != 0;
}

bool OutputFile::Append(const void* data, size_t size)
{
    return Write(data, size);
}
