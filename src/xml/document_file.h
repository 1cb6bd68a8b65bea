// DocumentFile: one XML file while XmlReader::LoadFile reads it (Windows).
//
// Opening looks at the first bytes for a byte-order mark, else for the
// encoding an XML declaration (or HTML meta tag) names, else takes UTF-8
// when the text starts with "<". Reading takes the whole rest of the file
// in one piece, removes zero units, swaps big-endian UTF-16, and converts
// 8-bit text to UTF-16 (after a UTF-8 detection when no encoding is known).
// Each step leaves a diagnostic record in the file's result log.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "xml/result_log.h"

namespace xml {

class DocumentFile {
public:
    // Offsets into the document are 32-bit, so longer files are refused.
    static constexpr int64_t kMaxFileSize = INT32_MAX;

    // flags: the reader's documentFlags; ReadFileMode is added while loading.
    explicit DocumentFile(int32_t flags);

    // Opens path for reading ("rb", other openers not locked out), measures
    // it and detects its encoding. On success the file stands after the
    // byte-order mark. Replaces the result log.
    bool OpenForRead(const std::wstring& path);

    // Reads BytesToRead() bytes from Position() as text into destination,
    // decoded to UTF-16. Replaces the result log. On failure destination is
    // left empty.
    bool ReadText(std::wstring& destination);

    // Closes the file; a failing close adds a "file_error" record.
    bool Close();

    // Records "file_error" with the system's message for GetLastError();
    // returns false.
    bool ReportFileError();

    bool IsOpen() const { return file_ != nullptr; }
    int32_t Flags() const { return flags_; }
    int64_t FileSize() const { return fileSize_; }
    int64_t Position() const { return position_; }
    int64_t BytesToRead() const { return bytesToRead_; }
    void SetBytesToRead(int64_t bytes) { bytesToRead_ = bytes; }
    int32_t UnitSize() const { return unitSize_; }
    int64_t UnitsRead() const { return unitsRead_; }
    const std::wstring& Encoding() const { return encoding_; }
    const ResultLog& Log() const { return resultLog_; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    // Records the error and closes the file without a record of its own.
    bool FailOpening();
    bool ReadBytes(void* buffer, int64_t bytes, int64_t& read);
    void AddRecord(std::wstring_view name, std::wstring_view textName = {},
                   std::wstring_view textValue = {}, std::wstring_view numberName = {},
                   int64_t number = 0);

    std::unique_ptr<std::FILE, FileCloser> file_;
    int32_t flags_ = 0;
    int64_t fileSize_ = 0;
    int64_t position_ = 0;
    int64_t bytesToRead_ = 0;
    int32_t unitSize_ = 1;
    int64_t unitsRead_ = 0;
    std::wstring encoding_;
    ResultLog resultLog_;
};

}  // namespace xml
