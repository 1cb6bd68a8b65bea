// XmlReader::LoadFile: reads a file through DocumentFile and parses it.
#include "xml/document_file.h"
#include "xml/xml_reader.h"

namespace xml {

bool XmlReader::LoadFile(const std::wstring& path) {
    if (documentFlags_ & (ReadFileMode | WriteFileMode)) return false;

    DocumentFile file(documentFlags_);
    const bool opened = file.OpenForRead(path);
    resultLog_ = file.Log();
    document_.clear();

    bool read = false;
    if (opened) {
        file.SetBytesToRead(file.FileSize() - file.Position());
        read = file.ReadText(document_);
        file.Close();
        resultLog_.AppendLog(file.Log());

        constexpr int32_t kMarkFlags = Utf16LeFile | Utf8Bom | Utf16BeFile;
        constexpr int32_t kFileModes = ReadFileMode | WriteFileMode | AppendFileMode;
        documentFlags_ = (documentFlags_ & ~(kMarkFlags | kFileModes)) | (file.Flags() & kMarkFlags);
    }

    if (!read) {
        // Parse the empty document all the same: it resets the cursor and
        // the element index, so nothing of an earlier document can be
        // navigated into the now empty text.
        document_.clear();
        Parse();
        return false;
    }
    return Parse();
}

}  // namespace xml
