#include "xml/document_file.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

#include "xml/code_pages.h"
#include "xml/declared_encoding.h"
#include "xml/text_conversion.h"
#include "xml/xml_reader.h"

namespace xml {
namespace {

constexpr int32_t kMarkFlags = Utf16LeFile | Utf8Bom | Utf16BeFile;

// The first bytes looked at when opening: marks and declarations.
constexpr int64_t kHeadSize = 1024;

struct ByteOrderMark {
    std::string_view bytes;
    std::wstring_view encoding;
    int32_t flag;
    int32_t unitSize;
};

// Tried in this order; the first that matches completely wins.
constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", L"UTF-8", Utf8Bom, 1},
    {"\xFF\xFE", L"UTF-16LE", Utf16LeFile, 2},
    {"\xFE\xFF", L"UTF-16BE", Utf16BeFile, 2},
};

// Decodes UTF-8 bytes to UTF-16 through the conversion routine.
std::wstring DecodeUtf8(const char* bytes, int32_t length) {
    TextConversion conversion;
    conversion.sourceEncoding = L"UTF-8";
    conversion.targetEncoding = L"UTF-16";
    conversion.source = bytes;
    conversion.sourceLength = length;
    const int32_t needed = ConvertText(conversion);
    std::wstring text(static_cast<size_t>(needed), L'\0');
    if (needed > 0) {
        conversion.targetCapacity = needed;
        text.resize(static_cast<size_t>(ConvertText(conversion, text.data())));
    }
    return text;
}

// Removes every unit of `width` bytes that is all zero, moving the
// following units down. Returns how many were removed.
int64_t RemoveZeroUnits(char* data, int64_t units, int32_t width) {
    int64_t kept = 0;
    for (int64_t i = 0; i < units; ++i) {
        const char* unit = data + i * width;
        const bool zero = std::all_of(unit, unit + width, [](char c) { return c == 0; });
        if (zero) continue;
        if (kept != i) std::memmove(data + kept * width, unit, static_cast<size_t>(width));
        ++kept;
    }
    return units - kept;
}

// The detection that decides whether 8-bit text without a known encoding
// is UTF-8. A zero byte or the end of the text ends the scan with yes; a
// byte that cannot begin a character, a missing follow-up byte, or a
// sequence cut off by the end ends it with no.
bool LooksLikeUtf8(const unsigned char* text, int64_t length) {
    int64_t i = 0;
    while (i < length) {
        const unsigned char lead = text[i];
        if (lead == 0) return true;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int32_t follow = 0;
        if ((lead & 0xE0) == 0xC0) {
            follow = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            follow = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            follow = 3;
        } else {
            // 11111xxx, or a follow-up byte 10xxxxxx where a character begins.
            return false;
        }
        for (int32_t k = 1; k <= follow; ++k) {
            if (i + k >= length || (text[i + k] & 0x80) == 0) return false;
        }
        i += follow + 1;
    }
    return true;
}

}  // namespace

DocumentFile::DocumentFile(int32_t flags) : flags_(flags | ReadFileMode) {}

void DocumentFile::AddRecord(std::wstring_view name, std::wstring_view textName,
                             std::wstring_view textValue, std::wstring_view numberName,
                             int64_t number) {
    LogRecord record;
    record.name = name;
    record.textName = textName;
    record.textValue = textValue;
    record.numberName = numberName;
    record.number = number;
    resultLog_.Append(record);
}

bool DocumentFile::ReportFileError() {
    const DWORD code = GetLastError();
    wchar_t buffer[100];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    if (length > std::size(buffer)) length = 0;
    std::wstring_view message(buffer, length);
    message = message.substr(0, std::min(message.find_first_of(L"\r\n"), message.size()));
    AddRecord(L"file_error", L"msg", message, L"n", static_cast<int64_t>(code));
    return false;
}

bool DocumentFile::FailOpening() {
    ReportFileError();
    file_.reset();
    return false;
}

bool DocumentFile::OpenForRead(const std::wstring& path) {
    resultLog_.Clear();
    file_.reset();
    encoding_.clear();
    flags_ &= ~kMarkFlags;
    unitSize_ = 1;
    fileSize_ = 0;
    position_ = 0;
    bytesToRead_ = 0;
    unitsRead_ = 0;

    file_.reset(_wfopen(path.c_str(), L"rb"));
    if (!file_) return ReportFileError();

    std::FILE* file = file_.get();
    if (_fseeki64(file, 0, SEEK_END) != 0) {
        return FailOpening();
    }
    const int64_t size = _ftelli64(file);
    if (size < 0 || _fseeki64(file, 0, SEEK_SET) != 0) {
        return FailOpening();
    }
    if (size > kMaxFileSize) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return FailOpening();
    }
    fileSize_ = size;

    size_t markLength = 0;
    if (fileSize_ > 0) {
        char head[kHeadSize];
        const size_t headLength = static_cast<size_t>(std::min(fileSize_, kHeadSize));
        if (std::fread(head, 1, headLength, file) != headLength) {
            return FailOpening();
        }
        const std::string_view start(head, headLength);
        for (const ByteOrderMark& mark : kMarks) {
            if (start.starts_with(mark.bytes)) {
                flags_ |= mark.flag;
                unitSize_ = mark.unitSize;
                encoding_ = mark.encoding;
                markLength = mark.bytes.size();
                break;
            }
        }
        if (_fseeki64(file, static_cast<int64_t>(markLength), SEEK_SET) != 0) {
            return FailOpening();
        }
        if (markLength == 0) {
            encoding_ = GetDeclaredEncoding(DecodeUtf8(head, static_cast<int32_t>(headLength)));
            if (encoding_.empty() && head[0] == '<') encoding_ = L"UTF-8";
        }
    }

    position_ = static_cast<int64_t>(markLength);
    if (markLength != 0) AddRecord(L"bom");
    return true;
}

bool DocumentFile::ReadBytes(void* buffer, int64_t bytes, int64_t& read) {
    std::FILE* file = file_.get();
    read = static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(bytes), file));
    if (std::ferror(file)) return ReportFileError();
    position_ += read;
    return true;
}

bool DocumentFile::ReadText(std::wstring& destination) {
    resultLog_.Clear();
    destination.clear();
    unitsRead_ = 0;
    if (bytesToRead_ <= 0) {
        AddRecord(L"read", L"encoding", encoding_, L"length", 0);
        return true;
    }
    if (!file_) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ReportFileError();
    }
    if (bytesToRead_ > kMaxFileSize) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return ReportFileError();
    }

    if (flags_ & (Utf16LeFile | Utf16BeFile)) {
        // Room for every byte, an odd last one included; it is not counted.
        destination.resize(static_cast<size_t>((bytesToRead_ + 1) / 2));
        int64_t read = 0;
        if (!ReadBytes(destination.data(), bytesToRead_, read)) {
            destination.clear();
            return false;
        }
        const int64_t units = read / 2;
        destination.resize(static_cast<size_t>(units));
        AddRecord(L"read", L"encoding", encoding_, L"length", units);

        destination.erase(std::remove(destination.begin(), destination.end(), L'\0'),
                          destination.end());
        const int64_t removed = units - static_cast<int64_t>(destination.size());
        if (removed > 0) AddRecord(L"nulls_removed", {}, {}, L"count", removed);
        unitsRead_ = static_cast<int64_t>(destination.size());

        if (flags_ & Utf16BeFile) {
            for (wchar_t& unit : destination) {
                const auto value = static_cast<uint16_t>(unit);
                unit = static_cast<wchar_t>(static_cast<uint16_t>((value << 8) | (value >> 8)));
            }
            AddRecord(L"endian_swap");
        }
        return true;
    }

    // 8-bit text. A declared "UTF-32..." encoding is read as whole 4-byte
    // little-endian units: a last partial unit is not counted, and a zero
    // unit is four zero bytes.
    const bool codePoints = CodePageOf(encoding_) == kUtf32CodePoints;
    const int32_t width = codePoints ? 4 : 1;
    std::vector<char> buffer(static_cast<size_t>(bytesToRead_));
    int64_t read = 0;
    if (!ReadBytes(buffer.data(), bytesToRead_, read)) return false;
    const int64_t units = read / width;
    AddRecord(L"read", L"encoding", encoding_, L"length", units);

    const int64_t removed = RemoveZeroUnits(buffer.data(), units, width);
    if (removed > 0) AddRecord(L"nulls_removed", {}, {}, L"count", removed);
    unitsRead_ = units - removed;

    if (encoding_.empty()) {
        if (LooksLikeUtf8(reinterpret_cast<const unsigned char*>(buffer.data()), unitsRead_)) {
            encoding_ = L"UTF-8";
            LogRecord update;
            update.name = L"read";
            update.textName = L"encoding";
            update.textValue = encoding_;
            update.numberName = L"length";
            update.number = units;
            resultLog_.UpdateFirst(update);
        }
        AddRecord(L"utf8_detection");
    }

    std::vector<uint32_t> codePointUnits;
    TextConversion conversion;
    conversion.sourceEncoding = encoding_;
    conversion.targetEncoding = L"UTF-16";
    conversion.source = buffer.data();
    conversion.sourceLength = static_cast<int32_t>(unitsRead_);
    if (codePoints) {
        codePointUnits.resize(static_cast<size_t>(unitsRead_));
        std::memcpy(codePointUnits.data(), buffer.data(), codePointUnits.size() * 4);
        conversion.source = codePointUnits.data();
    }
    // Count, then convert into room 1 % larger than needed.
    const int32_t needed = ConvertText(conversion);
    if (needed > 0) {
        const int32_t room = static_cast<int32_t>(
            std::min<int64_t>(INT32_MAX, int64_t{needed} + needed / 100));
        destination.resize(static_cast<size_t>(room));
        conversion.targetCapacity = room;
        destination.resize(static_cast<size_t>(ConvertText(conversion, destination.data())));
    }
    AddRecord(L"converted_to", L"encoding", L"UTF-16", L"length", needed);
    return true;
}

bool DocumentFile::Close() {
    std::FILE* file = file_.release();
    if (file == nullptr) return true;
    if (std::fclose(file) != 0) return ReportFileError();
    return true;
}

}  // namespace xml
