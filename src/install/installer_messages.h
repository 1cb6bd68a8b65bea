// The Windows Installer's messages during the call: what the external
// handler answers, the progress counters behind the reported percentage,
// and the product's home-page address found in the log.
//
// InstallerMessageState is plain logic: the handler registered with the
// Windows Installer feeds it each message and carries out what the outcome
// asks for (the internal UI level, a message box, a progress report).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The numbers of a progress message "1: a 2: b 3: c 4: d".
struct ProgressFields {
    int field1 = 0;
    int field2 = 0;
    int field3 = 0;
    int field4 = 0;
};

// Reads a progress message. Each field is its number, two characters
// (": ") and a value up to the next blank; field 1 is one digit, the others
// base-10 integers. Reading ends after field 2 when field 1 is 2 or 3,
// after field 3 when it is 1, after field 4 in any case. Nothing when
// field 1 is missing or not a digit, or a field has a number other than 1
// to 4: such a message changes nothing.
std::optional<ProgressFields> ParseProgressMessage(std::wstring_view message);

// The home-page address in an info message "Property(S): InstallHomepageURL
// = <address>" (letter case ignored, white space around the parts
// trimmed); nothing for any other message.
std::optional<std::wstring> FindHomePageUrl(std::wstring_view message);

// The counters behind the reported percentage of one package.
struct InstallerProgressCounters {
    // Ticks announced by the last reset, and done so far in its phase.
    int progressTotal = 0;
    int64_t progressDone = 0;
    // 1 counting up, 0 counting down (rollback).
    int forwardProgress = 1;
    // The reported percentage at the last reset.
    int progressBase = 0;
    // The percentage last reported; it never decreases within a run.
    int reportedPercent = 0;
    // The last progress message that was read.
    ProgressFields fields;
};

// What the handler does with one message.
struct InstallerMessageOutcome {
    // Set the internal UI to kFirstMessageInternalUiLevel (the call's
    // first message).
    bool switchToBasicUi = false;
    // Show the message in a box owned by the wizard, captioned with the
    // product's short name, with `boxStyle`, and return its answer instead
    // of `result`.
    bool showMessageBox = false;
    UINT boxStyle = 0;
    // Report this percentage for the current item (phase Installing).
    std::optional<int> reportPercent;
    // The answer to the Windows Installer: 0 leaves the message to its
    // default handling, 1 handled, 2 cancels the installation.
    int result = 0;
};

class InstallerMessageState {
public:
    InstallerMessageState() = default;
    InstallerMessageState(const InstallerMessageState&) = delete;
    InstallerMessageState& operator=(const InstallerMessageState&) = delete;

    // Starts a package: resets the counters except the reported percentage,
    // which carries on from the package before (so the next one starts
    // where the last ended), and names the current item. A cancel already
    // requested stays requested.
    void BeginPackage(const std::wstring& itemName);

    // One message: `messageType` is the kind (top 8 bits) and the box style
    // (low 24 bits); `message` may be null.
    InstallerMessageOutcome Handle(UINT messageType, const wchar_t* message);

    // Asks the installation to stop: the next progress message is answered
    // with 2. Safe to call from another thread.
    void RequestCancel() { msiCancelRequested_.store(1); }
    bool CancelRequested() const { return msiCancelRequested_.load() != 0; }

    const std::wstring& CurrentItemName() const { return currentItemName_; }
    // Empty until found; once found it is kept for the whole run.
    const std::wstring& HomePageUrl() const { return homePageUrl_; }
    const InstallerProgressCounters& Counters() const { return counters_; }

private:
    int HandleProgress(std::wstring_view message, InstallerMessageOutcome& outcome);
    void Advance(int ticks, InstallerMessageOutcome& outcome);

    InstallerProgressCounters counters_;
    bool firstMessage_ = true;
    std::atomic<int> msiCancelRequested_{0};
    std::wstring currentItemName_;
    std::wstring homePageUrl_;
};
