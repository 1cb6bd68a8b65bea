// The UI string table: each identifier names its own key, with the English
// text the user sees.
#include <gtest/gtest.h>

#include <set>

#include "i18n/format_placeholders.h"
#include "i18n/ui_string_table.h"

namespace {

struct Expected {
    UIStringId id;
    const wchar_t* key;
    const wchar_t* defaultText;  // null: checked elsewhere (the web addresses)
};

// In table order.
const Expected kExpected[] = {
    {UIStringId::Install, L"IDS_INSTALL", L"Install"},
    {UIStringId::StatusInit, L"IDS_STATUS_INIT", L"Initializing..."},
    {UIStringId::StatusCancelling, L"IDS_STATUS_CANCELLING", L"Cancelling..."},
    {UIStringId::StatusDownloading, L"IDS_STATUS_DOWNLOADING", L"Downloading, please wait..."},
    {UIStringId::StatusInstalling, L"IDS_STATUS_INSTALLING", L"Installing, please wait..."},
    {UIStringId::StatusFinished, L"IDS_STATUS_FINISHED", L"Finished."},
    {UIStringId::StatusInstallFailed, L"IDS_STATUS_INSTALL_FAILED", L"Install failed."},
    {UIStringId::StatusCancelled, L"IDS_STATUS_CANCELLED", L"Cancelled."},
    {UIStringId::ProductReady, L"IDS_PRODUCT_READY", L"%s is ready"},
    {UIStringId::AcceptLicenseTerms, L"IDS_ACCEPT_LICENSE_TERMS", L"I accept the"},
    {UIStringId::LinkLicenseTerms, L"IDS_LINK_LICENSE_TERMS", L"License Terms"},
    {UIStringId::InstallSettings, L"IDS_INSTALL_SETTINGS", L"Installation settings"},
    {UIStringId::SelectLang, L"IDS_SELECT_LANG", L"Please select a language:"},
    {UIStringId::InstallFolder, L"IDS_INSTALL_FOLDER", L"Installation folder:"},
    {UIStringId::TextCancel, L"IDS_TEXT_CANCEL", L"Cancel"},
    {UIStringId::MessageCancelNotice, L"IDS_MESSAGE_CANCELNOTICE",
     L"Are you sure you want to cancel the installation?"},
    {UIStringId::StartNow, L"IDS_START_NOW", L"Start Now"},
    {UIStringId::LaunchApp, L"IDS_LAUNCH_APP", L"Launch %s"},
    {UIStringId::BrowseDestFolder, L"IDS_BROWSE_DEST_FOLDER", L"Browse to the destination folder."},
    {UIStringId::Preparing, L"IDS_PREPARING", L"Preparing..."},
    {UIStringId::CalcTimeRemaining, L"IDS_CALC_TIME_REMAINING", L"Calculating time remaining..."},
    {UIStringId::TimeRemainingHours, L"IDS_TIME_REMAINING_HOURS", L"%02d hours %02d mins %02d secs remaining..."},
    {UIStringId::TimeRemainingMins, L"IDS_TIME_REMAINING_MINS", L"%02d mins %02d secs remaining..."},
    {UIStringId::TimeRemainingSecs, L"IDS_TIME_REMAINING_SECS", L"%02d secs remaining..."},
    {UIStringId::FileAssociation, L"IDS_FILE_ASSOCIATION", L"Associate with:"},
    {UIStringId::FileAssociateAll, L"IDS_FILE_ASSOCIATE_ALL", L"All supported image file types"},
    {UIStringId::FileAssociateUnused, L"IDS_FILE_ASSOCIATE_UNUSED", L"File types not currently used"},
    {UIStringId::FileAssociateNone, L"IDS_FILE_ASSOCIATE_NONE", L"None of any file types"},
    {UIStringId::ErrCaption, L"IDS_ERR_CAPTION", L"Error"},
    {UIStringId::ErrInstalledAlready, L"IDS_ERR_INSTALLED_ALREADY",
     L"%s is already installed. Would you like to launch it?"},
    {UIStringId::ErrClientTooOld, L"IDS_ERR_CLIENT_TOO_OLD",
     L"The version of your client is too old, please click \"OK\" to download the latest client."},
    {UIStringId::ErrOutOfDisk, L"IDS_ERR_OUT_OF_DISK",
     L"The disk space required for the installation exceeds available disk space. Check that at least %s MB of "
     L"disk space is available and try again. For more information, please contact Customer Care."},
    {UIStringId::ErrConnectDownloadServer, L"IDS_ERR_CONNECT_DOWNLOAD_SERVER",
     L"Unable to contact the download server. Check your Internet connection and try again. If the issue "
     L"persists, please contact Customer Care."},
    {UIStringId::ErrCreateFolderFailed, L"IDS_ERR_CREATE_FOLDER_FAILED", L"The specified path %s is unavailable."},
    {UIStringId::CloseRunningApps, L"IDS_CLOSE_RUNNING_APPS",
     L"The following applications should be closed before continuing the installation:"},
    {UIStringId::RlinkTerms, L"IDS_RLINK_TERMS", nullptr},
    {UIStringId::RlinkSlideShow, L"IDS_RLINK_SLIDE_SHOW", nullptr},
};

TEST(UIStringTable, EachIdentifierNamesItsKeyAndEnglishText)
{
    ASSERT_EQ(std::size(kExpected), kUIStringTable.size());
    for (size_t i = 0; i < std::size(kExpected); ++i) {
        const Expected& expected = kExpected[i];
        SCOPED_TRACE(expected.key);
        EXPECT_EQ(static_cast<size_t>(expected.id), i) << "table order";
        const UIStringEntry& entry = UIStringEntryFor(expected.id);
        EXPECT_EQ(entry.key, expected.key);
        if (expected.defaultText) {
            EXPECT_EQ(entry.defaultText, expected.defaultText);
        }
    }
}

TEST(UIStringTable, KeysAreDistinctAndEveryDefaultIsAUsableFormat)
{
    std::set<std::wstring_view> keys;
    for (const UIStringEntry& entry : kUIStringTable) {
        SCOPED_TRACE(std::wstring(entry.key));
        EXPECT_TRUE(keys.insert(entry.key).second) << "duplicate key";
        EXPECT_EQ(entry.key.substr(0, 4), L"IDS_");
        EXPECT_LE(entry.defaultText.size(), 259u) << "the profile reader would cut it";
        FormatScanner scanner(entry.defaultText);
        for (FormatScanner::Piece piece; (piece = scanner.Next()) != FormatScanner::Piece::End;) {
            if (piece == FormatScanner::Piece::Invalid) {
                ADD_FAILURE() << "not a usable format";
                break;
            }
        }
    }
}

}  // namespace
