// XmlReader::LoadFile end to end: a real file is read, decoded, parsed and
// navigated, with the file's and the parse's records in one result log.
#include <gtest/gtest.h>

#include <string>

#include "xml/escaping.h"
#include "xml/files/encoding_bytes.h"
#include "xml/files/temp_folder.h"
#include "xml/xml_reader.h"

namespace {

using xml::XmlReader;
using xml_test::TempFolder;

const std::u16string kManifest =
    u"<?xml version=\"1.0\"?>\r\n"
    u"<manifest>\r\n"
    u"  <product code=\"p\">Pictora &amp; \u20AC</product>\r\n"
    u"  <version>1.2</version>\r\n"
    u"</manifest>\r\n";

TEST(LoadFile, BigEndianUtf16FileIsDecodedParsedAndNavigated) {
    TempFolder folder;
    const std::wstring path = folder.Write(L"manifest.xml", "\xFE\xFF" + xml_test::Utf16Be(kManifest));
    XmlReader reader;
    reader.SetDocument();
    ASSERT_TRUE(reader.LoadFile(path)) << reader.ResultLogText();

    EXPECT_EQ(reader.ResultLogText(), L"<bom/><read encoding=\"UTF-16BE\" length=\"" +
                                          std::to_wstring(kManifest.size()) +
                                          L"\"/><endian_swap/>");
    EXPECT_EQ(reader.DocumentFlags(), xml::Utf16BeFile);
    EXPECT_EQ(reader.Document(), std::wstring(kManifest.begin(), kManifest.end()));

    ASSERT_TRUE(reader.FindElement(L"manifest"));
    ASSERT_TRUE(reader.FindChildElement(L"product"));
    EXPECT_EQ(reader.GetChildText(), L"Pictora & \u20AC");
    ASSERT_TRUE(reader.FindChildElement(L"version"));
    EXPECT_EQ(reader.GetChildText(), L"1.2");
    EXPECT_FALSE(reader.FindChildElement(L"product"));
}

TEST(LoadFile, FileRecordsComeBeforeTheParsesRecords) {
    TempFolder folder;
    const std::wstring path = folder.Write(L"bad.xml", "\xEF\xBB\xBF<r><a></r>");
    XmlReader reader;
    EXPECT_FALSE(reader.LoadFile(path));
    EXPECT_EQ(reader.ResultLogText(),
              L"<bom/><read encoding=\"UTF-8\" length=\"10\"/>"
              L"<converted_to encoding=\"UTF-16\" length=\"10\"/>"
              L"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"7\"/>");
    EXPECT_EQ(reader.DocumentFlags(), xml::Utf8Bom);
    EXPECT_EQ(reader.Document(), L"<r><a></r>");
    // Ill-formed, yet indexed and navigable.
    ASSERT_TRUE(reader.FindElement(L"r"));
    EXPECT_TRUE(reader.FindChildElement(L"a"));
}

TEST(LoadFile, ReplacesTheLogAndTheMarkBitsAndKeepsTheOtherFlags) {
    TempFolder folder;
    const std::wstring path = folder.Write(
        L"latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>\xE9</r>");
    XmlReader reader;
    EXPECT_FALSE(reader.SetDocument(L"<a><b></a>"));
    ASSERT_FALSE(reader.ResultLogText().empty());
    reader.SetDocumentFlags(xml::IgnoreCase | xml::Utf16LeFile | xml::AppendFileMode);

    ASSERT_TRUE(reader.LoadFile(path)) << reader.ResultLogText();
    EXPECT_EQ(reader.ResultLogText(), L"<read encoding=\"ISO-8859-1\" length=\"51\"/>"
                                      L"<converted_to encoding=\"UTF-16\" length=\"51\"/>");
    EXPECT_EQ(reader.DocumentFlags(), xml::IgnoreCase);
    ASSERT_TRUE(reader.FindElement(L"r"));
    EXPECT_EQ(reader.GetElementText(reader.CurrentIndex()), L"\u00E9");
}

TEST(LoadFile, RefusedWhileAFileModeIsSet) {
    TempFolder folder;
    const std::wstring path = folder.Write(L"doc.xml", "<new/>");
    for (const int32_t mode : {xml::ReadFileMode, xml::WriteFileMode}) {
        SCOPED_TRACE(mode);
        XmlReader reader;
        ASSERT_FALSE(reader.SetDocument(L"<old>"));
        const std::wstring log = reader.ResultLogText();
        reader.SetDocumentFlags(mode);
        EXPECT_FALSE(reader.LoadFile(path));
        EXPECT_EQ(reader.Document(), L"<old>");
        EXPECT_EQ(reader.ResultLogText(), log);
        EXPECT_EQ(reader.DocumentFlags(), mode);
    }
}

TEST(LoadFile, AFailedOpeningLeavesNothingToNavigate) {
    TempFolder folder;
    const std::wstring good = folder.Write(L"good.xml", "<r><c>1</c></r>");
    XmlReader reader;
    ASSERT_TRUE(reader.LoadFile(good));
    ASSERT_TRUE(reader.FindElement(L"r"));

    EXPECT_FALSE(reader.LoadFile(folder.PathOf(L"missing.xml")));
    EXPECT_EQ(reader.ResultLogText(),
              L"<file_error msg=\"" +
                  xml::Escape(xml_test::SystemMessageFirstLine(ERROR_FILE_NOT_FOUND),
                              xml::EscapeMode::Attribute) +
                  L"\" n=\"2\"/>");
    EXPECT_TRUE(reader.Document().empty());
    EXPECT_EQ(reader.CurrentIndex(), 0);
    EXPECT_FALSE(reader.FindElement());
    EXPECT_FALSE(reader.FindElement(L"r"));
    EXPECT_FALSE(reader.FindChildElement(L"c"));
}

TEST(LoadFile, AnEmptyFileGivesAnEmptyDocumentThatDoesNotParse) {
    TempFolder folder;
    const std::wstring path = folder.Write(L"empty.xml", "");
    XmlReader reader;
    EXPECT_FALSE(reader.LoadFile(path));
    EXPECT_EQ(reader.ResultLogText(), L"<read encoding=\"\" length=\"0\"/>");
    EXPECT_TRUE(reader.Document().empty());
    EXPECT_FALSE(reader.FindElement());
}

}  // namespace
