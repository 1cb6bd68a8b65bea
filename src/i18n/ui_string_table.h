// The table of UI strings: every text the installer shows in its own words,
// keyed by an "IDS_" name, with its English default. A per-language
// string.ini overrides the defaults (ui_string_lookup.h).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

struct UIStringEntry {
    std::wstring_view key;
    std::wstring_view defaultText;
};

// One identifier per table entry, in table order.
enum class UIStringId : std::size_t {
    Install,
    StatusInit,
    StatusCancelling,
    StatusDownloading,
    StatusInstalling,
    StatusFinished,
    StatusInstallFailed,
    StatusCancelled,
    ProductReady,
    AcceptLicenseTerms,
    LinkLicenseTerms,
    InstallSettings,
    SelectLang,
    InstallFolder,
    TextCancel,
    MessageCancelNotice,
    StartNow,
    LaunchApp,
    BrowseDestFolder,
    Preparing,
    CalcTimeRemaining,
    TimeRemainingHours,
    TimeRemainingMins,
    TimeRemainingSecs,
    FileAssociation,
    FileAssociateAll,
    FileAssociateUnused,
    FileAssociateNone,
    ErrCaption,
    ErrInstalledAlready,
    ErrClientTooOld,
    ErrOutOfDisk,
    ErrConnectDownloadServer,
    ErrCreateFolderFailed,
    CloseRunningApps,
    RlinkTerms,
    RlinkSlideShow,
    Count
};

// The entries, in table order (UIStringId indexes it).
inline constexpr std::array<UIStringEntry, static_cast<std::size_t>(UIStringId::Count)> kUIStringTable{{
    {L"IDS_INSTALL", L"Install"},
    {L"IDS_STATUS_INIT", L"Initializing..."},
    {L"IDS_STATUS_CANCELLING", L"Cancelling..."},
    {L"IDS_STATUS_DOWNLOADING", L"Downloading, please wait..."},
    {L"IDS_STATUS_INSTALLING", L"Installing, please wait..."},
    {L"IDS_STATUS_FINISHED", L"Finished."},
    {L"IDS_STATUS_INSTALL_FAILED", L"Install failed."},
    {L"IDS_STATUS_CANCELLED", L"Cancelled."},
    {L"IDS_PRODUCT_READY", L"%s is ready"},
    {L"IDS_ACCEPT_LICENSE_TERMS", L"I accept the"},
    {L"IDS_LINK_LICENSE_TERMS", L"License Terms"},
    {L"IDS_INSTALL_SETTINGS", L"Installation settings"},
    {L"IDS_SELECT_LANG", L"Please select a language:"},
    {L"IDS_INSTALL_FOLDER", L"Installation folder:"},
    {L"IDS_TEXT_CANCEL", L"Cancel"},
    {L"IDS_MESSAGE_CANCELNOTICE", L"Are you sure you want to cancel the installation?"},
    {L"IDS_START_NOW", L"Start Now"},
    {L"IDS_LAUNCH_APP", L"Launch %s"},
    {L"IDS_BROWSE_DEST_FOLDER", L"Browse to the destination folder."},
    {L"IDS_PREPARING", L"Preparing..."},
    {L"IDS_CALC_TIME_REMAINING", L"Calculating time remaining..."},
    {L"IDS_TIME_REMAINING_HOURS", L"%02d hours %02d mins %02d secs remaining..."},
    {L"IDS_TIME_REMAINING_MINS", L"%02d mins %02d secs remaining..."},
    {L"IDS_TIME_REMAINING_SECS", L"%02d secs remaining..."},
    {L"IDS_FILE_ASSOCIATION", L"Associate with:"},
    {L"IDS_FILE_ASSOCIATE_ALL", L"All supported image file types"},
    {L"IDS_FILE_ASSOCIATE_UNUSED", L"File types not currently used"},
    {L"IDS_FILE_ASSOCIATE_NONE", L"None of any file types"},
    {L"IDS_ERR_CAPTION", L"Error"},
    {L"IDS_ERR_INSTALLED_ALREADY", L"%s is already installed. Would you like to launch it?"},
    {L"IDS_ERR_CLIENT_TOO_OLD",
     L"The version of your client is too old, please click \"OK\" to download the latest client."},
    {L"IDS_ERR_OUT_OF_DISK",
     L"The disk space required for the installation exceeds available disk space. Check that at least %s MB of "
     L"disk space is available and try again. For more information, please contact Customer Care."},
    {L"IDS_ERR_CONNECT_DOWNLOAD_SERVER",
     L"Unable to contact the download server. Check your Internet connection and try again. If the issue "
     L"persists, please contact Customer Care."},
    {L"IDS_ERR_CREATE_FOLDER_FAILED", L"The specified path %s is unavailable."},
    {L"IDS_CLOSE_RUNNING_APPS",
     L"The following applications should be closed before continuing the installation:"},
    // Web addresses, looked up with LoadLinkString; by default pages of the
    // product's own site.
    {L"IDS_RLINK_TERMS", L"https://www.pictora-maxora.com/legal/license-terms"},
    {L"IDS_RLINK_SLIDE_SHOW", L"https://www.pictora-maxora.com/whats-new"},
}};

inline constexpr UIStringEntry kNoUIStringEntry{};

// The entry of `id`; an identifier outside the table (UIStringId::Count)
// gives an entry with empty key and text.
constexpr const UIStringEntry& UIStringEntryFor(UIStringId id)
{
    auto index = static_cast<std::size_t>(id);
    return index < kUIStringTable.size() ? kUIStringTable[index] : kNoUIStringEntry;
}
