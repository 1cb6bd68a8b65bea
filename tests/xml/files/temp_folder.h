// A private folder under the system's temp folder for files the tests
// write; the folder and everything written into it go away with it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace xml_test {

class TempFolder {
public:
    TempFolder() {
        wchar_t temp[MAX_PATH + 1];
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        static int serial = 0;
        path_.assign(temp, length);
        path_ += L"xml-files-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++serial);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        for (const std::wstring& file : files_) DeleteFileW(file.c_str());
        RemoveDirectoryW(path_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::wstring PathOf(std::wstring_view name) const {
        return path_ + L"\\" + std::wstring(name);
    }

    // Writes the bytes as the whole file; returns its path, or an empty
    // path when writing failed.
    std::wstring Write(std::wstring_view name, std::string_view bytes) {
        const std::wstring path = PathOf(name);
        std::FILE* file = _wfopen(path.c_str(), L"wb");
        if (file == nullptr) return {};
        files_.push_back(path);
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (std::fclose(file) != 0 || !written) return {};
        return path;
    }

    // Marks a file made some other way for removal.
    void Adopt(const std::wstring& path) { files_.push_back(path); }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

// The system's message for an error code, cut at its first line break, as
// a "file_error" record carries it.
inline std::wstring SystemMessageFirstLine(DWORD code) {
    wchar_t buffer[100];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  buffer, 100, nullptr);
    std::wstring text(buffer, length > 100 ? 0 : length);
    const size_t end = text.find_first_of(L"\r\n");
    if (end != std::wstring::npos) text.resize(end);
    return text;
}

}  // namespace xml_test
