// The texts and codes that a transfer's last record carries when a step
// failed (DownloadStatusInfo::message, errorCode).
#pragma once

#include <windows.h>
#include <wininet.h>

inline constexpr wchar_t kConnectFailedMessage[] = L"InternetConnect Failed.";
inline constexpr wchar_t kOpenRequestFailedMessage[] = L"HttpOpenRequest Failed.";
inline constexpr wchar_t kSendFailedMessage[] = L"HttpSendRequest Failed.";
// The status code could not be read (errorCode: the system's), or it is not
// 2xx (errorCode: the HTTP status itself).
inline constexpr wchar_t kStatusQueryFailedMessage[] = L"HttpQueryInfo Failed.";
inline constexpr wchar_t kStatusRefusedMessage[] = L"HTTP status not accepted.";
// A failed availability query or read, or a body shorter than announced.
inline constexpr wchar_t kReadFailedMessage[] = L"Internet download file Failed";
inline constexpr wchar_t kWriteFailedMessage[] = L"Write download file Failed.";
// A 206 answer to a Range request that does not continue where asked.
inline constexpr wchar_t kRangeMismatchMessage[] = L"Partial answer does not fit the file.";

// errorCode of a body that ended early without WinINet reporting an error.
inline constexpr DWORD kShortBodyError = ERROR_INTERNET_CONNECTION_ABORTED;
