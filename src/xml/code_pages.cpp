#include "xml/code_pages.h"

#include <algorithm>
#include <array>

namespace xml {
namespace {

// The usual IANA names and aliases of each encoding, and the names Windows
// and browsers know for it, with the Windows code page that decodes it.
// EUC-JP maps to 20932, the code page MultiByteToWideChar accepts for it.
constexpr CodePageName kNames[] = {
    {"utf-8", 65001}, {"utf8", 65001}, {"cp65001", 65001},
    {"unicode-1-1-utf-8", 65001}, {"unicode-2-0-utf-8", 65001},
    {"x-unicode-2-0-utf-8", 65001}, {"x-unicode-1-1-utf-8", 65001},
    {"utf-7", 65000}, {"unicode-1-1-utf-7", 65000},
    {"unicode-2-0-utf-7", 65000}, {"csunicode11utf7", 65000},
    {"x-unicode-2-0-utf-7", 65000}, {"x-unicode-1-1-utf-7", 65000},
    {"utf-16", 1200}, {"utf-16le", 1200}, {"utf16", 1200}, {"utf16le", 1200},
    {"unicode", 1200}, {"ucs-2", 1200}, {"ucs-2le", 1200}, {"cp1200", 1200},
    {"iso-10646-ucs-2", 1200},
    {"utf-16be", 1201}, {"utf16be", 1201}, {"unicodefffe", 1201},
    {"ucs-2be", 1201}, {"cp1201", 1201},
    {"utf-32", 12000}, {"utf-32le", 12000}, {"utf32", 12000},
    {"utf32le", 12000}, {"cp12000", 12000},
    {"utf-32be", 12001}, {"utf32be", 12001},
    {"us-ascii", 20127}, {"ascii", 20127}, {"ansi_x3.4-1968", 20127},
    {"iso646-us", 20127}, {"us", 20127}, {"csascii", 20127}, {"cp367", 20127},
    {"ibm367", 20127}, {"iso-ir-6", 20127}, {"iso_646.irv:1991", 20127},
    {"iso-8859-1", 28591}, {"latin1", 28591}, {"l1", 28591},
    {"iso_8859-1", 28591}, {"iso8859-1", 28591}, {"cp819", 28591},
    {"iso_8859-1:1987", 28591}, {"iso-ir-100", 28591}, {"ibm819", 28591},
    {"csisolatin1", 28591},
    {"iso-8859-2", 28592}, {"latin2", 28592}, {"l2", 28592},
    {"iso_8859-2", 28592}, {"iso8859-2", 28592}, {"iso_8859-2:1987", 28592},
    {"iso-ir-101", 28592}, {"csisolatin2", 28592},
    {"iso-8859-3", 28593}, {"latin3", 28593}, {"l3", 28593},
    {"iso_8859-3", 28593}, {"iso8859-3", 28593}, {"iso_8859-3:1988", 28593},
    {"iso-ir-109", 28593}, {"csisolatin3", 28593},
    {"iso-8859-4", 28594}, {"latin4", 28594}, {"l4", 28594},
    {"iso_8859-4", 28594}, {"iso8859-4", 28594}, {"iso_8859-4:1988", 28594},
    {"iso-ir-110", 28594}, {"csisolatin4", 28594},
    {"iso-8859-5", 28595}, {"cyrillic", 28595}, {"iso_8859-5", 28595},
    {"iso8859-5", 28595}, {"iso_8859-5:1988", 28595}, {"iso-ir-144", 28595},
    {"csisolatincyrillic", 28595},
    {"iso-8859-6", 28596}, {"arabic", 28596}, {"iso_8859-6", 28596},
    {"iso8859-6", 28596}, {"iso_8859-6:1987", 28596}, {"iso-ir-127", 28596},
    {"csisolatinarabic", 28596}, {"ecma-114", 28596}, {"asmo-708", 28596},
    {"iso-8859-7", 28597}, {"greek", 28597}, {"iso_8859-7", 28597},
    {"iso8859-7", 28597}, {"iso_8859-7:1987", 28597}, {"iso-ir-126", 28597},
    {"csisolatingreek", 28597}, {"ecma-118", 28597}, {"elot_928", 28597},
    {"iso-8859-8", 28598}, {"hebrew", 28598}, {"iso_8859-8", 28598},
    {"iso8859-8", 28598}, {"iso_8859-8:1988", 28598}, {"iso-ir-138", 28598},
    {"csisolatinhebrew", 28598}, {"visual", 28598},
    {"iso-8859-8-i", 38598}, {"logical", 38598}, {"csiso88598i", 38598},
    {"iso-8859-9", 28599}, {"latin5", 28599}, {"l5", 28599},
    {"iso_8859-9", 28599}, {"iso8859-9", 28599}, {"iso_8859-9:1989", 28599},
    {"iso-ir-148", 28599}, {"csisolatin5", 28599},
    {"windows-874", 874}, {"iso-8859-11", 874}, {"tis-620", 874},
    {"cp874", 874},
    {"iso-8859-13", 28603},
    {"iso-8859-15", 28605}, {"latin9", 28605}, {"latin-9", 28605},
    {"l9", 28605}, {"iso8859-15", 28605}, {"csisolatin9", 28605},
    {"windows-1250", 1250}, {"cp1250", 1250}, {"x-cp1250", 1250},
    {"windows-1251", 1251}, {"cp1251", 1251}, {"x-cp1251", 1251},
    {"windows-1252", 1252}, {"cp1252", 1252}, {"x-ansi", 1252},
    {"windows-1253", 1253}, {"cp1253", 1253},
    {"windows-1254", 1254}, {"cp1254", 1254},
    {"windows-1255", 1255}, {"cp1255", 1255},
    {"windows-1256", 1256}, {"cp1256", 1256},
    {"windows-1257", 1257}, {"cp1257", 1257},
    {"windows-1258", 1258}, {"cp1258", 1258},
    {"shift_jis", 932}, {"sjis", 932}, {"ms_kanji", 932}, {"cp932", 932},
    {"windows-31j", 932}, {"shift-jis", 932}, {"csshiftjis", 932},
    {"cswindows31j", 932},
    {"gb2312", 936}, {"gbk", 936}, {"cp936", 936}, {"chinese", 936},
    {"gb2312-80", 936}, {"gb231280", 936}, {"csgb2312", 936},
    {"csiso58gb231280", 936}, {"iso-ir-58", 936}, {"cn-gb", 936},
    {"euc-cn", 936}, {"x-euc-cn", 936},
    {"gb18030", 54936},
    {"hz-gb-2312", 52936},
    {"ks_c_5601-1987", 949}, {"korean", 949}, {"cp949", 949}, {"uhc", 949},
    {"ksc_5601", 949}, {"ks_c_5601", 949}, {"ks_c_5601-1989", 949},
    {"ksc5601", 949}, {"csksc56011987", 949}, {"iso-ir-149", 949},
    {"johab", 1361},
    {"big5", 950}, {"cp950", 950}, {"big5-hkscs", 950}, {"cn-big5", 950},
    {"csbig5", 950}, {"x-x-big5", 950},
    {"euc-jp", 20932}, {"x-euc-jp", 20932}, {"cseucpkdfmtjapanese", 20932},
    {"extended_unix_code_packed_format_for_japanese", 20932},
    {"euc-kr", 51949}, {"cseuckr", 51949},
    {"iso-2022-jp", 50220},
    {"csiso2022jp", 50221},
    {"iso-2022-jp-1", 50222},
    {"iso-2022-kr", 50225}, {"iso-2022-kr-7bit", 50225}, {"csiso2022kr", 50225},
    {"cp50227", 50227}, {"x-cp50227", 50227},
    {"koi8-r", 20866}, {"koi8", 20866}, {"koi8r", 20866}, {"cskoi8r", 20866},
    {"koi8-u", 21866}, {"koi8-ru", 21866},
    {"ibm437", 437}, {"cp437", 437}, {"cspc8codepage437", 437},
    {"dos-720", 720},
    {"ibm737", 737},
    {"ibm775", 775},
    {"ibm850", 850}, {"cp850", 850},
    {"ibm852", 852}, {"cp852", 852},
    {"ibm855", 855}, {"cp855", 855},
    {"ibm857", 857}, {"cp857", 857},
    {"ibm00858", 858}, {"cp00858", 858}, {"ccsid00858", 858},
    {"pc-multilingual-850+euro", 858},
    {"ibm860", 860}, {"cp860", 860},
    {"ibm861", 861}, {"cp861", 861},
    {"ibm862", 862}, {"cp862", 862}, {"dos-862", 862},
    {"ibm863", 863}, {"cp863", 863},
    {"ibm864", 864}, {"cp864", 864},
    {"ibm865", 865}, {"cp865", 865},
    {"ibm866", 866}, {"cp866", 866},
    {"ibm869", 869}, {"cp869", 869},
    {"ibm037", 37}, {"cp037", 37}, {"ebcdic-cp-us", 37}, {"ebcdic-cp-ca", 37},
    {"ibm500", 500}, {"cp500", 500}, {"ebcdic-cp-be", 500},
    {"ebcdic-cp-ch", 500},
    {"ibm870", 870}, {"cp870", 870}, {"ebcdic-cp-roece", 870},
    {"ebcdic-cp-yu", 870},
    {"cp875", 875},
    {"ibm1026", 1026}, {"cp1026", 1026},
    {"ibm01047", 1047},
    {"ibm01140", 1140}, {"ccsid01140", 1140},
    {"ibm01141", 1141}, {"ccsid01141", 1141},
    {"ibm01142", 1142}, {"ccsid01142", 1142},
    {"ibm01143", 1143}, {"ccsid01143", 1143},
    {"ibm01144", 1144}, {"ccsid01144", 1144},
    {"ibm01145", 1145}, {"ccsid01145", 1145},
    {"ibm01146", 1146}, {"ccsid01146", 1146},
    {"ibm01147", 1147}, {"ccsid01147", 1147},
    {"ibm01148", 1148}, {"ccsid01148", 1148},
    {"ibm01149", 1149}, {"ccsid01149", 1149},
    {"ibm273", 20273},
    {"ibm277", 20277}, {"ebcdic-cp-dk", 20277}, {"ebcdic-cp-no", 20277},
    {"ibm278", 20278}, {"ebcdic-cp-fi", 20278}, {"ebcdic-cp-se", 20278},
    {"ibm280", 20280}, {"ebcdic-cp-it", 20280},
    {"ibm284", 20284}, {"ebcdic-cp-es", 20284},
    {"ibm285", 20285}, {"ebcdic-cp-gb", 20285},
    {"ibm290", 20290}, {"ebcdic-jp-kana", 20290},
    {"ibm297", 20297}, {"ebcdic-cp-fr", 20297},
    {"ibm420", 20420}, {"ebcdic-cp-ar1", 20420},
    {"ibm423", 20423}, {"ebcdic-cp-gr", 20423},
    {"ibm424", 20424}, {"ebcdic-cp-he", 20424},
    {"ibm-thai", 20838}, {"csibmthai", 20838},
    {"ibm871", 20871}, {"ebcdic-cp-is", 20871},
    {"ibm880", 20880}, {"ebcdic-cyrillic", 20880},
    {"ibm905", 20905}, {"ebcdic-cp-tr", 20905},
    {"ibm00924", 20924}, {"ebcdic-latin9--euro", 20924},
    {"cp1025", 21025},
    {"macintosh", 10000},
    {"x-mac-japanese", 10001},
    {"x-mac-chinesetrad", 10002},
    {"x-mac-korean", 10003},
    {"x-mac-arabic", 10004},
    {"x-mac-hebrew", 10005},
    {"x-mac-greek", 10006},
    {"x-mac-cyrillic", 10007}, {"x-mac-ukrainian", 10007},
    {"x-mac-chinesesimp", 10008},
    {"x-mac-romanian", 10010},
    {"x-mac-thai", 10021},
    {"x-mac-ce", 10029},
    {"x-mac-icelandic", 10079},
    {"x-mac-turkish", 10081},
    {"x-mac-croatian", 10082},
    {"x-ia5", 20105}, {"irv", 20105},
    {"x-ia5-german", 20106}, {"german", 20106},
    {"x-ia5-swedish", 20107}, {"swedish", 20107}, {"sen_850200_b", 20107},
    {"x-ia5-norwegian", 20108}, {"norwegian", 20108}, {"ns_4551-1", 20108},
    {"x-chinese-cns", 20000},
    {"x-cp20001", 20001},
    {"x-chinese-eten", 20002},
    {"x-cp20003", 20003},
    {"x-cp20004", 20004},
    {"x-cp20005", 20005},
    {"x-cp20261", 20261},
    {"x-cp20269", 20269},
    {"x-cp20936", 20936},
    {"x-cp20949", 20949},
    {"x-europa", 29001},
    {"x-iscii-as", 57006},
    {"x-iscii-be", 57003},
    {"x-iscii-de", 57002},
    {"x-iscii-gu", 57010},
    {"x-iscii-ka", 57008},
    {"x-iscii-ma", 57009},
    {"x-iscii-or", 57007},
    {"x-iscii-pa", 57011},
    {"x-iscii-ta", 57004},
    {"x-iscii-te", 57005},
};

constexpr size_t kNameCount = std::size(kNames);
static_assert(kNameCount == 365);

constexpr bool IsLowerCaseName(std::string_view name) {
    if (name.empty() || name.size() > kMaxEncodingNameLength) return false;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') return false;
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Positions of kNames sorted by name, so that a lookup is a binary search
// over constant data.
constexpr std::array<uint16_t, kNameCount> SortedOrder() {
    std::array<uint16_t, kNameCount> order{};
    for (size_t i = 0; i < kNameCount; ++i) order[i] = static_cast<uint16_t>(i);
    std::sort(order.begin(), order.end(),
              [](uint16_t a, uint16_t b) { return kNames[a].name < kNames[b].name; });
    return order;
}

constexpr std::array<uint16_t, kNameCount> kSorted = SortedOrder();

constexpr bool TableIsSound() {
    for (size_t i = 0; i < kNameCount; ++i) {
        if (!IsLowerCaseName(kNames[kSorted[i]].name)) return false;
        if (i > 0 && kNames[kSorted[i - 1]].name == kNames[kSorted[i]].name) return false;
    }
    return true;
}
static_assert(TableIsSound(), "encoding names must be distinct, lower case ASCII");

constexpr wchar_t FoldAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Compares the name, folded to lower case, with a table entry: <0, 0, >0.
int CompareFolded(std::wstring_view name, std::string_view entry) {
    const size_t common = std::min(name.size(), entry.size());
    for (size_t i = 0; i < common; ++i) {
        const uint32_t a = static_cast<uint32_t>(FoldAscii(name[i]));
        const uint32_t b = static_cast<unsigned char>(entry[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (name.size() == entry.size()) return 0;
    return name.size() < entry.size() ? -1 : 1;
}

}  // namespace

std::span<const CodePageName> CodePageNames() { return kNames; }

int32_t CodePageOf(std::wstring_view name) {
    if (name.empty()) return kAnsiCodePage;
    if (name.starts_with(L"UTF-32")) return kUtf32CodePoints;
    if (name.size() > kMaxEncodingNameLength) return kUnknownCodePage;

    size_t low = 0;
    size_t high = kNameCount;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        const CodePageName& entry = kNames[kSorted[middle]];
        const int order = CompareFolded(name, entry.name);
        if (order == 0) return entry.codePage;
        if (order < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return kUnknownCodePage;
}

}  // namespace xml
