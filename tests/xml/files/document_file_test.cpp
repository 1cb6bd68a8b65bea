// DocumentFile against real files: encoding detection, the bytes that
// reach the text, and the diagnostic records of opening and reading.
#include "xml/document_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "xml/escaping.h"
#include "xml/xml_reader.h"
#include "xml/files/encoding_bytes.h"
#include "xml/files/temp_folder.h"

namespace {

using namespace std::literals;
using xml::DocumentFile;
using xml_test::TempFolder;
using xml_test::Utf16Be;
using xml_test::Utf16Le;
using xml_test::Utf32Le;

struct ReadCase {
    const char* name;
    std::string bytes;
    std::wstring encodingAfterOpen;
    std::wstring openLog;
    std::wstring readLog;
    std::wstring text;
    int32_t markFlag;  // the byte-order-mark flag the opening finds, or 0
};

const std::string kIsoDeclaration = R"(<?xml version="1.0" encoding="iso-8859-1"?>)";
const std::wstring kIsoDeclarationText = LR"(<?xml version="1.0" encoding="iso-8859-1"?>)";

std::vector<ReadCase> ReadCases() {
    return {
        {"utf8_with_mark", "\xEF\xBB\xBF<r>\xC3\xA9</r>", L"UTF-8", L"<bom/>",
         L"<read encoding=\"UTF-8\" length=\"9\"/><converted_to encoding=\"UTF-16\" length=\"8\"/>",
         L"<r>\u00E9</r>", xml::Utf8Bom},
        {"utf16le_with_mark", "\xFF\xFE" + Utf16Le(u"<r>\u20AC</r>"), L"UTF-16LE", L"<bom/>",
         L"<read encoding=\"UTF-16LE\" length=\"8\"/>", L"<r>\u20AC</r>", xml::Utf16LeFile},
        {"utf16be_with_mark", "\xFE\xFF" + Utf16Be(u"<r>\u20AC\U0001F600</r>"), L"UTF-16BE",
         L"<bom/>", L"<read encoding=\"UTF-16BE\" length=\"10\"/><endian_swap/>",
         L"<r>\u20AC\U0001F600</r>", xml::Utf16BeFile},
        {"utf16le_odd_last_byte_not_counted", "\xFF\xFE" + Utf16Le(u"<r/>") + "X", L"UTF-16LE",
         L"<bom/>", L"<read encoding=\"UTF-16LE\" length=\"4\"/>", L"<r/>", xml::Utf16LeFile},
        {"utf16le_zero_units_removed", "\xFF\xFE" + Utf16Le(u"<\0r/>\0"sv), L"UTF-16LE", L"<bom/>",
         L"<read encoding=\"UTF-16LE\" length=\"6\"/><nulls_removed count=\"2\"/>", L"<r/>",
         xml::Utf16LeFile},
        {"utf16be_zero_units_removed_then_swapped", "\xFE\xFF" + Utf16Be(u"<r>\0\u0100</r>"sv),
         L"UTF-16BE", L"<bom/>",
         L"<read encoding=\"UTF-16BE\" length=\"9\"/><nulls_removed count=\"1\"/><endian_swap/>",
         L"<r>\u0100</r>", xml::Utf16BeFile},
        {"iso_8859_1_declared_lower_case", kIsoDeclaration + "<r>\x80\xE9</r>", L"iso-8859-1", L"",
         L"<read encoding=\"iso-8859-1\" length=\"52\"/><converted_to encoding=\"UTF-16\" length=\"52\"/>",
         kIsoDeclarationText + L"<r>\u0080\u00E9</r>", 0},
        {"iso_8859_1_declared_upper_case",
         R"(<?xml version="1.0" encoding="ISO-8859-1"?><r>)" "\x80\xE9</r>", L"ISO-8859-1", L"",
         L"<read encoding=\"ISO-8859-1\" length=\"52\"/><converted_to encoding=\"UTF-16\" length=\"52\"/>",
         LR"(<?xml version="1.0" encoding="ISO-8859-1"?><r>)" L"\u0080\u00E9</r>", 0},
        {"iso_8859_1_declared_mixed_case",
         R"(<?xml version="1.0" encoding="Iso-8859-1"?><r>)" "\x80\xE9</r>", L"Iso-8859-1", L"",
         L"<read encoding=\"Iso-8859-1\" length=\"52\"/><converted_to encoding=\"UTF-16\" length=\"52\"/>",
         LR"(<?xml version="1.0" encoding="Iso-8859-1"?><r>)" L"\u0080\u00E9</r>", 0},
        {"shift_jis_declared",
         R"(<?xml version="1.0" encoding="Shift_JIS"?><r>)" "\x82\xA0</r>", L"Shift_JIS", L"",
         L"<read encoding=\"Shift_JIS\" length=\"51\"/><converted_to encoding=\"UTF-16\" length=\"50\"/>",
         LR"(<?xml version="1.0" encoding="Shift_JIS"?><r>)" L"\u3042</r>", 0},
        {"no_mark_starting_with_lt_is_utf8", "<r>\xC3\xA9</r>", L"UTF-8", L"",
         L"<read encoding=\"UTF-8\" length=\"9\"/><converted_to encoding=\"UTF-16\" length=\"8\"/>",
         L"<r>\u00E9</r>", 0},
        {"no_mark_starting_with_lt_is_utf8_even_if_invalid", "<r>\xE9</r>", L"UTF-8", L"",
         L"<read encoding=\"UTF-8\" length=\"8\"/><converted_to encoding=\"UTF-16\" length=\"8\"/>",
         L"<r>\uFFFD</r>", 0},
        {"leading_space_valid_utf8_detected", " <r>\xC3\xA9\xE2\x82\xAC</r>", L"", L"",
         L"<read encoding=\"UTF-8\" length=\"13\"/><utf8_detection/>"
         L"<converted_to encoding=\"UTF-16\" length=\"10\"/>",
         L" <r>\u00E9\u20AC</r>", 0},
        {"zero_bytes_removed", "<r>\0a\0\0b</r>\0"s, L"UTF-8", L"",
         L"<read encoding=\"UTF-8\" length=\"13\"/><nulls_removed count=\"4\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"9\"/>",
         L"<r>ab</r>", 0},
        {"zero_bytes_removed_before_detection", " \0<r>\xC3\xA9</r>"s, L"", L"",
         L"<read encoding=\"UTF-8\" length=\"11\"/><nulls_removed count=\"1\"/><utf8_detection/>"
         L"<converted_to encoding=\"UTF-16\" length=\"9\"/>",
         L" <r>\u00E9</r>", 0},
        {"empty_file", "", L"", L"", L"<read encoding=\"\" length=\"0\"/>", L"", 0},
        {"mark_only", "\xEF\xBB\xBF", L"UTF-8", L"<bom/>", L"<read encoding=\"UTF-8\" length=\"0\"/>",
         L"", xml::Utf8Bom},
        // A declared "UTF-32" name selects 4-byte little-endian units: the
        // 8-bit declaration (39 bytes and a space) decodes to ten "?", a zero
        // unit is removed, and the partial unit at the end is dropped.
        {"utf32_declared_whole_units",
         R"(<?xml version="1.0" encoding="UTF-32"?> )" + Utf32Le(U"<r>\U0001F600\0</r>"sv) + "AB",
         L"UTF-32", L"",
         L"<read encoding=\"UTF-32\" length=\"19\"/><nulls_removed count=\"1\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"19\"/>",
         std::wstring(10, L'?') + L"<r>\U0001F600</r>", 0},
    };
}

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadCaseTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadCaseTest, OpensAndReadsWithItsRecords) {
    const ReadCase& c = GetParam();
    TempFolder folder;
    const std::wstring path = folder.Write(L"doc.xml", c.bytes);
    ASSERT_FALSE(path.empty());

    // Stale mark bits from an earlier file must not survive the opening.
    DocumentFile file(xml::IgnoreCase | xml::Utf8Bom | xml::Utf16LeFile | xml::Utf16BeFile);
    ASSERT_TRUE(file.OpenForRead(path)) << file.Log().Text();
    EXPECT_EQ(file.Log().Text(), c.openLog);
    EXPECT_EQ(file.Encoding(), c.encodingAfterOpen);
    EXPECT_EQ(file.Flags(), xml::IgnoreCase | xml::ReadFileMode | c.markFlag);
    EXPECT_EQ(file.FileSize(), static_cast<int64_t>(c.bytes.size()));
    const int64_t markLength = c.markFlag == xml::Utf8Bom ? 3 : c.markFlag != 0 ? 2 : 0;
    EXPECT_EQ(file.Position(), markLength);

    file.SetBytesToRead(file.FileSize() - file.Position());
    std::wstring text = L"stale";
    ASSERT_TRUE(file.ReadText(text)) << file.Log().Text();
    EXPECT_EQ(file.Log().Text(), c.readLog);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(file.Position(), file.FileSize());
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Encodings, ReadCaseTest, testing::ValuesIn(ReadCases()),
                         [](const testing::TestParamInfo<ReadCase>& info) {
                             return std::string(info.param.name);
                         });

// Text that is neither marked, declared in a known encoding, nor valid
// UTF-8 is read in the system's ANSI code page.
TEST(DocumentFileAnsi, UndetectedTextIsReadInTheAnsiCodePage) {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "the ANSI code page is UTF-8 here";
    struct Row {
        const char* what;
        std::string bytes;
        std::wstring encoding;
        bool detectionRuns;
    };
    const Row rows[] = {
        {"lead byte without follow-up", " <r>caf\xE9</r>", L"", true},
        {"follow-up byte where a character begins", " <r>\xA9 1</r>", L"", true},
        {"byte 11111xxx", " <r>\xF8\x88\x80\x80\x80</r>", L"", true},
        {"sequence cut off by the end", " <r/>\xE2\x82", L"", true},
        {"unknown declared name", R"(<?xml version="1.0" encoding="x-unknown"?><r>)" "\x80</r>",
         L"x-unknown", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder folder;
        const std::wstring path = folder.Write(L"ansi.xml", row.bytes);
        DocumentFile file(0);
        ASSERT_TRUE(file.OpenForRead(path));
        EXPECT_EQ(file.Encoding(), row.encoding);
        file.SetBytesToRead(file.FileSize() - file.Position());
        std::wstring text;
        ASSERT_TRUE(file.ReadText(text));

        const int size = static_cast<int>(row.bytes.size());
        std::wstring ansi(static_cast<size_t>(size), L'\0');
        ansi.resize(static_cast<size_t>(
            MultiByteToWideChar(CP_ACP, 0, row.bytes.data(), size, ansi.data(), size)));
        EXPECT_EQ(text, ansi);
        EXPECT_EQ(text.find(L'\uFFFD'), std::wstring::npos) << "decoded as UTF-8";

        const std::wstring length = std::to_wstring(row.bytes.size());
        const std::wstring expected =
            L"<read encoding=\"" + row.encoding + L"\" length=\"" + length + L"\"/>" +
            (row.detectionRuns ? L"<utf8_detection/>" : L"") +
            L"<converted_to encoding=\"UTF-16\" length=\"" + std::to_wstring(ansi.size()) + L"\"/>";
        EXPECT_EQ(file.Log().Text(), expected);
    }
}

TEST(DocumentFileErrors, OpeningAMissingFileRecordsTheSystemError) {
    TempFolder folder;
    const struct {
        std::wstring path;
        DWORD code;
    } rows[] = {
        {folder.PathOf(L"missing.xml"), ERROR_FILE_NOT_FOUND},
        {folder.PathOf(L"no-such-folder\\missing.xml"), ERROR_PATH_NOT_FOUND},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        DocumentFile file(0);
        EXPECT_FALSE(file.OpenForRead(row.path));
        EXPECT_FALSE(file.IsOpen());
        const std::wstring message = xml_test::SystemMessageFirstLine(row.code);
        EXPECT_FALSE(message.empty());
        EXPECT_EQ(file.Log().Text(),
                  L"<file_error msg=\"" + xml::Escape(message, xml::EscapeMode::Attribute) +
                      L"\" n=\"" + std::to_wstring(row.code) + L"\"/>");
    }
}

TEST(DocumentFileErrors, ReportFileErrorCutsTheMessageAtItsFirstLineBreak) {
    DocumentFile file(0);
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(file.ReportFileError());
    const std::wstring& log = file.Log().Text();
    EXPECT_EQ(log.find_first_of(L"\r\n"), std::wstring::npos);
    EXPECT_EQ(log, L"<file_error msg=\"" +
                       xml::Escape(xml_test::SystemMessageFirstLine(ERROR_ACCESS_DENIED),
                                   xml::EscapeMode::Attribute) +
                       L"\" n=\"5\"/>");
}

// Offsets into the document are 32-bit: a file beyond 2 GiB is refused
// before anything is read. The file is sparse, so it costs no disk space.
TEST(DocumentFileErrors, AFileTooLargeForTheReaderIsRefused) {
    TempFolder folder;
    const std::wstring path = folder.PathOf(L"large.xml");
    std::FILE* out = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    folder.Adopt(path);
    ASSERT_EQ(_fseeki64(out, DocumentFile::kMaxFileSize, SEEK_SET), 0);
    ASSERT_EQ(std::fputc('<', out), '<');
    ASSERT_EQ(std::fclose(out), 0);

    DocumentFile file(0);
    EXPECT_FALSE(file.OpenForRead(path));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Log().Text(),
              L"<file_error msg=\"" +
                  xml::Escape(xml_test::SystemMessageFirstLine(ERROR_FILE_TOO_LARGE),
                              xml::EscapeMode::Attribute) +
                  L"\" n=\"223\"/>");
}

TEST(DocumentFileSharing, AnOpenFileDoesNotLockOutOtherWriters) {
    TempFolder folder;
    const std::wstring path = folder.Write(L"shared.xml", "<r/>");
    DocumentFile file(0);
    ASSERT_TRUE(file.OpenForRead(path));
    std::FILE* other = _wfopen(path.c_str(), L"ab");
    EXPECT_NE(other, nullptr);
    if (other != nullptr) std::fclose(other);
    EXPECT_TRUE(file.Close());
}

}  // namespace
