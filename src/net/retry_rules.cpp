#include "net/retry_rules.h"

#include "net/transfer_messages.h"

bool IsTransientFailure(const TransferTry& t)
{
    if (t.cancelled)
        return false;
    const std::wstring& m = t.message;
    if (m == kWriteFailedMessage)
        return false;
    if (m == kConnectFailedMessage || m == kSendFailedMessage || m == kReadFailedMessage ||
        m == kRangeMismatchMessage || m == kStatusQueryFailedMessage)
        return true;
    // A 5xx answer: with a body it was refused by the status check, without
    // one (and for 501 and above) no size was announced.
    if (t.httpStatus >= 500 && t.httpStatus <= 599)
        return true;
    return false;
}

int64_t NextResumePoint(const TransferTry& t)
{
    return t.acceptsRanges && t.bytesDone > 0 ? t.bytesDone : 0;
}

std::wstring DescribeFailure(const TransferTry& t)
{
    std::wstring text;
    if (t.cancelled)
        return L"cancelled";
    if (!t.message.empty()) {
        text = t.message;
        if (t.errorCode)
            text += L" (code " + std::to_wstring(t.errorCode) + L")";
    } else if (t.httpStatus == 0) {
        text = L"no answer";
    } else if (t.httpStatus >= 200 && t.httpStatus <= 299) {
        text = L"no size announced";
    } else {
        text = L"HTTP status " + std::to_wstring(t.httpStatus);
    }
    if (!t.message.empty() && t.httpStatus)
        text += L", HTTP status " + std::to_wstring(t.httpStatus);
    if (t.message == kReadFailedMessage && t.announcedSize > 0 && t.bytesDone < t.announcedSize)
        text += L", the body came short (" + std::to_wstring(t.bytesDone) + L" of " +
                std::to_wstring(t.announcedSize) + L" bytes)";
    text += L", " + std::to_wstring(t.bytesDone) + L" bytes in the file";
    return text;
}
