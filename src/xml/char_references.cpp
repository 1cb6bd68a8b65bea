#include "xml/char_references.h"

#include <algorithm>
#include <array>

namespace xml {
namespace {

struct NamedReference {
    std::wstring_view name;
    uint32_t value;
};

// Sorted by the lower-case name; of two names that differ only in case, the
// capitalised one comes first.
constexpr NamedReference kNamedReferences[] = {
    {L"Aacute", 193}, {L"aacute", 225}, {L"Acirc", 194}, {L"acirc", 226}, {L"acute", 180},
    {L"AElig", 198}, {L"aelig", 230}, {L"Agrave", 192}, {L"agrave", 224}, {L"alefsym", 8501},
    {L"Alpha", 913}, {L"alpha", 945}, {L"amp", 38}, {L"and", 8743}, {L"ang", 8736},
    {L"apos", 39}, {L"Aring", 197}, {L"aring", 229}, {L"asymp", 8776}, {L"Atilde", 195},
    {L"atilde", 227}, {L"Auml", 196}, {L"auml", 228}, {L"bdquo", 8222}, {L"Beta", 914},
    {L"beta", 946}, {L"brvbar", 166}, {L"bull", 8226}, {L"cap", 8745}, {L"Ccedil", 199},
    {L"ccedil", 231}, {L"cedil", 184}, {L"cent", 162}, {L"Chi", 935}, {L"chi", 967},
    {L"circ", 710}, {L"clubs", 9827}, {L"cong", 8773}, {L"copy", 169}, {L"crarr", 8629},
    {L"cup", 8746}, {L"curren", 164}, {L"Dagger", 8225}, {L"dagger", 8224}, {L"dArr", 8659},
    {L"darr", 8595}, {L"deg", 176}, {L"Delta", 916}, {L"delta", 948}, {L"diams", 9830},
    {L"divide", 247}, {L"Eacute", 201}, {L"eacute", 233}, {L"Ecirc", 202}, {L"ecirc", 234},
    {L"Egrave", 200}, {L"egrave", 232}, {L"empty", 8709}, {L"emsp", 8195}, {L"ensp", 8194},
    {L"Epsilon", 917}, {L"epsilon", 949}, {L"equiv", 8801}, {L"Eta", 919}, {L"eta", 951},
    {L"ETH", 208}, {L"eth", 240}, {L"Euml", 203}, {L"euml", 235}, {L"euro", 8364},
    {L"exist", 8707}, {L"fnof", 402}, {L"forall", 8704}, {L"frac12", 189}, {L"frac14", 188},
    {L"frac34", 190}, {L"frasl", 8260}, {L"Gamma", 915}, {L"gamma", 947}, {L"ge", 8805},
    {L"gt", 62}, {L"hArr", 8660}, {L"harr", 8596}, {L"hearts", 9829}, {L"hellip", 8230},
    {L"Iacute", 205}, {L"iacute", 237}, {L"Icirc", 206}, {L"icirc", 238}, {L"iexcl", 161},
    {L"Igrave", 204}, {L"igrave", 236}, {L"image", 8465}, {L"infin", 8734}, {L"int", 8747},
    {L"Iota", 921}, {L"iota", 953}, {L"iquest", 191}, {L"isin", 8712}, {L"Iuml", 207},
    {L"iuml", 239}, {L"Kappa", 922}, {L"kappa", 954}, {L"Lambda", 923}, {L"lambda", 955},
    {L"lang", 9001}, {L"laquo", 171}, {L"lArr", 8656}, {L"larr", 8592}, {L"lceil", 8968},
    {L"ldquo", 8220}, {L"le", 8804}, {L"lfloor", 8970}, {L"lowast", 8727}, {L"loz", 9674},
    {L"lrm", 8206}, {L"lsaquo", 8249}, {L"lsquo", 8216}, {L"lt", 60}, {L"macr", 175},
    {L"mdash", 8212}, {L"micro", 181}, {L"middot", 183}, {L"minus", 8722}, {L"Mu", 924},
    {L"mu", 956}, {L"nabla", 8711}, {L"nbsp", 160}, {L"ndash", 8211}, {L"ne", 8800},
    {L"ni", 8715}, {L"not", 172}, {L"notin", 8713}, {L"nsub", 8836}, {L"Ntilde", 209},
    {L"ntilde", 241}, {L"Nu", 925}, {L"nu", 957}, {L"Oacute", 211}, {L"oacute", 243},
    {L"Ocirc", 212}, {L"ocirc", 244}, {L"OElig", 338}, {L"oelig", 339}, {L"Ograve", 210},
    {L"ograve", 242}, {L"oline", 8254}, {L"Omega", 937}, {L"omega", 969}, {L"Omicron", 927},
    {L"omicron", 959}, {L"oplus", 8853}, {L"or", 8744}, {L"ordf", 170}, {L"ordm", 186},
    {L"Oslash", 216}, {L"oslash", 248}, {L"Otilde", 213}, {L"otilde", 245}, {L"otimes", 8855},
    {L"Ouml", 214}, {L"ouml", 246}, {L"para", 182}, {L"part", 8706}, {L"permil", 8240},
    {L"perp", 8869}, {L"Phi", 934}, {L"phi", 966}, {L"Pi", 928}, {L"pi", 960}, {L"piv", 982},
    {L"plusmn", 177}, {L"pound", 163}, {L"Prime", 8243}, {L"prime", 8242}, {L"prod", 8719},
    {L"prop", 8733}, {L"Psi", 936}, {L"psi", 968}, {L"quot", 34}, {L"radic", 8730},
    {L"rang", 9002}, {L"raquo", 187}, {L"rArr", 8658}, {L"rarr", 8594}, {L"rceil", 8969},
    {L"rdquo", 8221}, {L"real", 8476}, {L"reg", 174}, {L"rfloor", 8971}, {L"Rho", 929},
    {L"rho", 961}, {L"rlm", 8207}, {L"rsaquo", 8250}, {L"rsquo", 8217}, {L"sbquo", 8218},
    {L"Scaron", 352}, {L"scaron", 353}, {L"sdot", 8901}, {L"sect", 167}, {L"shy", 173},
    {L"Sigma", 931}, {L"sigma", 963}, {L"sigmaf", 962}, {L"sim", 8764}, {L"spades", 9824},
    {L"sub", 8834}, {L"sube", 8838}, {L"sum", 8721}, {L"sup", 8835}, {L"sup1", 185},
    {L"sup2", 178}, {L"sup3", 179}, {L"supe", 8839}, {L"szlig", 223}, {L"Tau", 932},
    {L"tau", 964}, {L"there4", 8756}, {L"Theta", 920}, {L"theta", 952}, {L"thetasym", 977},
    {L"thinsp", 8201}, {L"THORN", 222}, {L"thorn", 254}, {L"tilde", 732}, {L"times", 215},
    {L"trade", 8482}, {L"Uacute", 218}, {L"uacute", 250}, {L"uArr", 8657}, {L"uarr", 8593},
    {L"Ucirc", 219}, {L"ucirc", 251}, {L"Ugrave", 217}, {L"ugrave", 249}, {L"uml", 168},
    {L"upsih", 978}, {L"Upsilon", 933}, {L"upsilon", 965}, {L"Uuml", 220}, {L"uuml", 252},
    {L"weierp", 8472}, {L"Xi", 926}, {L"xi", 958}, {L"Yacute", 221}, {L"yacute", 253},
    {L"yen", 165}, {L"Yuml", 376}, {L"yuml", 255}, {L"Zeta", 918}, {L"zeta", 950},
    {L"zwj", 8205}, {L"zwnj", 8204},
};

constexpr wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c; }

// Compares two names without regard to ASCII case.
constexpr int CompareFolded(std::wstring_view a, std::wstring_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const wchar_t x = Lower(a[i]), y = Lower(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

constexpr bool IsAllLower(std::wstring_view name) {
    for (wchar_t c : name)
        if (c >= L'A' && c <= L'Z') return false;
    return true;
}

constexpr bool TableIsOrdered() {
    for (size_t i = 1; i < std::size(kNamedReferences); ++i) {
        const int order = CompareFolded(kNamedReferences[i - 1].name, kNamedReferences[i].name);
        if (order > 0) return false;
        if (order == 0 && (IsAllLower(kNamedReferences[i - 1].name) ||
                           !IsAllLower(kNamedReferences[i].name)))
            return false;
    }
    return true;
}

constexpr size_t CasePairs() {
    size_t pairs = 0;
    for (size_t i = 1; i < std::size(kNamedReferences); ++i)
        if (CompareFolded(kNamedReferences[i - 1].name, kNamedReferences[i].name) == 0) ++pairs;
    return pairs;
}

static_assert(std::size(kNamedReferences) == 253);
static_assert(TableIsOrdered());
static_assert(CasePairs() == 64);

inline uint32_t Unit(wchar_t c) { return static_cast<uint32_t>(c); }

constexpr size_t kMaxReferenceName = 9;

uint32_t NumericValue(std::wstring_view name) {
    // `name` begins with "#"; it is at most 9 characters long, so the value
    // stays far below 2^32.
    uint32_t value = 0;
    size_t i = 1;
    if (i < name.size() && Lower(name[i]) == L'x') {
        for (++i; i < name.size(); ++i) {
            const uint32_t c = Unit(Lower(name[i]));
            uint32_t digit;
            if (c >= '0' && c <= '9') digit = c - '0';
            else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            else break;
            value = value * 16 + digit;
        }
    } else {
        for (; i < name.size(); ++i) {
            const uint32_t c = Unit(name[i]);
            if (c < '0' || c > '9') break;
            value = value * 10 + (c - '0');
        }
    }
    return value;
}

bool IsEmittable(uint32_t value) {
    return value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

void AppendCodePoint(std::wstring& out, uint32_t value) {
    if (value <= 0xFFFF) {
        out += static_cast<wchar_t>(value);
        return;
    }
    value -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (value >> 10));
    out += static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
}

}  // namespace

uint32_t NamedReferenceValue(std::wstring_view name) {
    const auto* begin = std::begin(kNamedReferences);
    const auto* end = std::end(kNamedReferences);
    const auto* found = std::lower_bound(begin, end, name, [](const NamedReference& e, std::wstring_view n) {
        return CompareFolded(e.name, n) < 0;
    });
    if (found == end || CompareFolded(found->name, name) != 0) return 0;
    const auto* second = found + 1;
    if (second != end && CompareFolded(second->name, name) == 0 && second->name == name)
        return second->value;
    return found->value;  // the only match, the exact capitalised one, or the fallback
}

void AppendDecodedReferences(std::wstring& out, std::wstring_view text) {
    size_t plain = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != L'&') {
            ++i;
            continue;
        }
        // The name between "&" and ";": at most 9 characters below 128.
        size_t nameLength = std::wstring_view::npos;
        for (size_t k = 1; k <= kMaxReferenceName + 1 && i + k < text.size(); ++k) {
            const uint32_t c = Unit(text[i + k]);
            if (c == ';') {
                nameLength = k - 1;
                break;
            }
            if (c >= 128) break;
        }
        uint32_t value = 0;
        if (nameLength != std::wstring_view::npos && nameLength > 0) {
            const std::wstring_view name = text.substr(i + 1, nameLength);
            value = name[0] == L'#' ? NumericValue(name) : NamedReferenceValue(name);
        }
        if (!IsEmittable(value)) {
            ++i;  // the "&" stays an ordinary character
            continue;
        }
        out.append(text.substr(plain, i - plain));
        AppendCodePoint(out, value);
        i += nameLength + 2;
        plain = i;
    }
    out.append(text.substr(plain));
}

std::wstring DecodeReferences(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    AppendDecodedReferences(out, text);
    return out;
}

}  // namespace xml
