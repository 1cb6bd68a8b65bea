#include "install/installer_messages.h"

#include <msi.h>

#include <algorithm>
#include <climits>
#include <cwchar>
#include <cwctype>
#include <string>

namespace {

// A base-10 integer at the start of `text` (after white space and a sign),
// 0 when there is none; saturated to the range of int.
int ParseDecimal(std::wstring_view text)
{
    std::wstring copy(text);
    long long value = std::wcstoll(copy.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        wchar_t a = text[i];
        wchar_t b = prefix[i];
        // The prefixes are ASCII: fold only ASCII letters.
        if (a >= L'A' && a <= L'Z')
            a = static_cast<wchar_t>(a - L'A' + L'a');
        if (b >= L'A' && b <= L'Z')
            b = static_cast<wchar_t>(b - L'A' + L'a');
        if (a != b)
            return false;
    }
    return true;
}

std::wstring_view Trim(std::wstring_view text)
{
    while (!text.empty() && std::iswspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back()))
        text.remove_suffix(1);
    return text;
}

constexpr UINT kKindMask = 0xFF000000u;
constexpr UINT kStyleMask = 0x00FFFFFFu;

constexpr int kUseDefault = 0;
constexpr int kHandled = 1;
constexpr int kCancel = 2;

}  // namespace

std::optional<ProgressFields> ParseProgressMessage(std::wstring_view message)
{
    ProgressFields fields;
    bool haveField1 = false;
    size_t pos = 0;
    while (pos < message.size()) {
        if (message[pos] == L' ') {
            ++pos;
            continue;
        }
        wchar_t number = message[pos];
        if (number < L'1' || number > L'4')
            return std::nullopt;
        // The number, the colon and the blank.
        pos = std::min(pos + 3, message.size());
        size_t end = message.find(L' ', pos);
        if (end == std::wstring_view::npos)
            end = message.size();
        std::wstring_view value = message.substr(pos, end - pos);
        pos = end;
        switch (number) {
        case L'1':
            if (value.empty() || value[0] < L'0' || value[0] > L'9')
                return std::nullopt;
            fields.field1 = value[0] - L'0';
            haveField1 = true;
            break;
        case L'2':
            fields.field2 = ParseDecimal(value);
            if (fields.field1 == 2 || fields.field1 == 3)
                return haveField1 ? std::optional(fields) : std::nullopt;
            break;
        case L'3':
            fields.field3 = ParseDecimal(value);
            if (fields.field1 == 1)
                return haveField1 ? std::optional(fields) : std::nullopt;
            break;
        case L'4':
            fields.field4 = ParseDecimal(value);
            return haveField1 ? std::optional(fields) : std::nullopt;
        }
    }
    if (!haveField1)
        return std::nullopt;
    return fields;
}

std::optional<std::wstring> FindHomePageUrl(std::wstring_view message)
{
    constexpr std::wstring_view kPropertyPrefix = L"Property(S):";
    constexpr std::wstring_view kHomePagePrefix = L"InstallHomepageURL =";
    if (!StartsWithIgnoringCase(message, kPropertyPrefix))
        return std::nullopt;
    std::wstring_view rest = Trim(message.substr(kPropertyPrefix.size()));
    if (!StartsWithIgnoringCase(rest, kHomePagePrefix))
        return std::nullopt;
    std::wstring_view address = Trim(rest.substr(kHomePagePrefix.size()));
    if (address.empty())
        return std::nullopt;
    return std::wstring(address);
}

void InstallerMessageState::BeginPackage(const std::wstring& itemName)
{
    int reportedPercent = counters_.reportedPercent;
    counters_ = InstallerProgressCounters();
    counters_.reportedPercent = reportedPercent;
    firstMessage_ = true;
    currentItemName_ = itemName;
}

InstallerMessageOutcome InstallerMessageState::Handle(UINT messageType, const wchar_t* message)
{
    InstallerMessageOutcome outcome;
    if (firstMessage_) {
        outcome.switchToBasicUi = true;
        firstMessage_ = false;
    }
    if (!message) {
        outcome.result = kUseDefault;
        return outcome;
    }
    std::wstring_view text(message);
    UINT kind = messageType & kKindMask;
    switch (kind) {
    case INSTALLMESSAGE_FATALEXIT:
    case INSTALLMESSAGE_ERROR:
    case INSTALLMESSAGE_OUTOFDISKSPACE:
        outcome.showMessageBox = true;
        outcome.boxStyle = messageType & kStyleMask;
        break;
    case INSTALLMESSAGE_WARNING:
    case INSTALLMESSAGE_USER:
        outcome.result = kHandled;
        break;
    case INSTALLMESSAGE_INFO:
        if (homePageUrl_.empty()) {
            if (std::optional<std::wstring> address = FindHomePageUrl(text))
                homePageUrl_ = *address;
        }
        outcome.result = kHandled;
        break;
    case INSTALLMESSAGE_FILESINUSE:
    case INSTALLMESSAGE_RESOLVESOURCE:
        outcome.result = kUseDefault;
        break;
    case INSTALLMESSAGE_ACTIONSTART:
    case INSTALLMESSAGE_ACTIONDATA:
    case INSTALLMESSAGE_INITIALIZE:
    case INSTALLMESSAGE_TERMINATE:
    case INSTALLMESSAGE_SHOWDIALOG:
    case INSTALLMESSAGE_INSTALLEND:
        outcome.result = kHandled;
        break;
    case INSTALLMESSAGE_PROGRESS:
        outcome.result = HandleProgress(text, outcome);
        break;
    case INSTALLMESSAGE_COMMONDATA:
        // Language and caption data: nothing here uses it.
        outcome.result = kHandled;
        break;
    default:
        outcome.result = kUseDefault;
        break;
    }
    return outcome;
}

int InstallerMessageState::HandleProgress(std::wstring_view message, InstallerMessageOutcome& outcome)
{
    std::optional<ProgressFields> fields = ParseProgressMessage(message);
    if (!fields)
        return kHandled;
    counters_.fields = *fields;
    switch (fields->field1) {
    case 0:  // reset: a new phase of ticks, counting down during rollback
        counters_.progressTotal = fields->field2;
        counters_.forwardProgress = fields->field3 == 0 ? 1 : 0;
        counters_.progressDone = fields->field3 != 0 ? fields->field2 : 0;
        counters_.progressBase = counters_.reportedPercent;
        break;
    case 1:  // action info: field 3 set means each action data message is a step
        if (fields->field3 != 0)
            Advance(fields->field2, outcome);
        break;
    case 2:  // progress report
        Advance(fields->field2, outcome);
        break;
    default:  // 3: total addition; nothing else is defined
        break;
    }
    return CancelRequested() ? kCancel : kHandled;
}

void InstallerMessageState::Advance(int ticks, InstallerMessageOutcome& outcome)
{
    if (counters_.forwardProgress)
        counters_.progressDone += ticks;
    else
        counters_.progressDone -= ticks;
    if (counters_.progressTotal == 0)
        return;
    float fraction = static_cast<float>(counters_.progressDone) / static_cast<float>(counters_.progressTotal);
    float share = fraction * static_cast<float>(100 - counters_.progressBase);
    // Ticks beyond the announced total (or a negative total) never take an
    // item past 100 %.
    share = std::clamp(share, -100.0f, 100.0f);
    int percent = std::clamp(counters_.progressBase + static_cast<int>(share), 0, 100);
    counters_.reportedPercent = std::max(counters_.reportedPercent, percent);
    outcome.reportPercent = counters_.reportedPercent;
}
