#include "wizard/success_panel.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

#include "base/desktop_launch.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "i18n/ui_string_format.h"
#include "i18n/ui_string_lookup.h"
#include "resource_ids.h"
#include "ui/dpi.h"
#include "ui/image_cache.h"
#include "ui/image_variant.h"
#include "ui/image_wrapper.h"
#include "ui/theme.h"
#include "wizard/install_guide.h"
#include "wizard/panel_geometry.h"

CSuccessPanel::CSuccessPanel(InstallerConfig& config, RunFlags& flags)
    : CGuidePanel(IDD_SUCCESS_PANEL), config_(config), flags_(flags)
{
    OnCommand(IDC_START_NOW, BN_CLICKED, [this] {
        OpenHomePage();
        StartTimer(kLaunchTimer, kLaunchDelayMs);
    });
    OnCommand(IDC_LAUNCH_CHECK, BN_CLICKED, [this] {
        launchChecked = !launchChecked;
        UpdateLaunchImage();
    });
    OnTimer(kLaunchTimer, [this] { LaunchAndClose(); });
}

bool CSuccessPanel::OnInitDialog()
{
    CGuidePanel::OnInitDialog();
    HWND window = Hwnd();
    startButton.AttachToItem(window, IDC_START_NOW);
    launchCheck.AttachToItem(window, IDC_LAUNCH_CHECK);
    launchLabel.AttachToItem(window, IDC_LAUNCH_LABEL);
    const ThemePalette& theme = Theme();
    const COLORREF bg = theme.WindowBackground;
    launchCheck.SetAppearance(bg, bg, bg, bg, L"");
    launchLabel.font = BodyFont();
    launchLabel.textColor = theme.LabelText;
    launchLabel.backgroundColor = bg;
    launchLabel.format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    ShowWindow(launchCheck.Hwnd(), SW_HIDE);
    ShowWindow(launchLabel.Hwnd(), SW_HIDE);
    UpdateLaunchImage();
    return false;
}

void CSuccessPanel::UpdateLaunchImage()
{
    if (auto image = LoadPngResource(ScreenImageVariantId(launchChecked ? 153 : 157)); image && image->Bitmap())
        launchCheck.SetImage(image->Bitmap(), {image->width, image->height}, 1, 1);
    if (launchCheck.Hwnd())
        InvalidateRect(launchCheck.Hwnd(), nullptr, TRUE);
}

std::wstring CSuccessPanel::ReadySentence() const
{
    return FormatUIString<UIStringId::ProductReady>(config_.language, config_.manifest.shortName);
}

void CSuccessPanel::ReloadTexts()
{
    startButton.SetText(LoadUIString(config_.language, UIStringId::StartNow));
    if (startButton.Hwnd())
        InvalidateRect(startButton.Hwnd(), nullptr, TRUE);
    launchLabel.SetLabel(FormatUIString<UIStringId::LaunchApp>(config_.language, config_.manifest.fullName));
    if (launchLabel.Hwnd())
        InvalidateRect(launchLabel.Hwnd(), nullptr, TRUE);
    Layout(ClientRect());
}

void CSuccessPanel::Layout(const RECT& client)
{
    if (!startButton.Hwnd())
        return;
    const ScreenDpi& dpi = CachedScreenDpi();
    const SuccessLayoutRects r = LayoutSuccess(PanelScale{dpi.x ? dpi.x : 96, dpi.y ? dpi.y : 96}, client);
    auto place = [](HWND window, const RECT& box) {
        if (window)
            MoveWindow(window, box.left, box.top, box.right - box.left, box.bottom - box.top, TRUE);
    };
    place(startButton.Hwnd(), r.startNow);
    place(launchCheck.Hwnd(), r.launchCheck);
    place(launchLabel.Hwnd(), r.launchLabel);
}

void CSuccessPanel::Draw(HDC dc)
{
    const RECT client = ClientRect();
    const int size = StepScaleX(64);
    const int iconTop = client.top + StepScaleX(90);
    if (HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), IMAGE_ICON, size, size, 0))) {
        DrawIconEx(dc, client.left + (client.right - client.left - size) / 2, iconTop, icon, size, size, 0, nullptr,
                   DI_NORMAL | DI_COMPAT);
        DestroyIcon(icon);
    }
    const std::wstring text = ReadySentence();
    if (text.empty())
        return;
    HGDIOBJ old = SelectObject(dc, TitleFont());
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT box = TitleRectBelowIcon(client, iconTop, size, extent);
    SetTextColor(dc, Theme().TitleText);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS);
    SelectObject(dc, old);
}

bool CSuccessPanel::OpenHomePage()
{
    if (flags_.existingInstall || homePageOpened)
        return false;
    if (config_.homePageUrl.empty())
        return false;
    ShellExecuteW(nullptr, L"open", config_.homePageUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    homePageOpened = 1;
    return true;
}

bool CSuccessPanel::QueryClose()
{
    OpenHomePage();
    return true;
}

void CSuccessPanel::LaunchAndClose()
{
    std::wstring& folder = config_.installFolder;
    std::vector<wchar_t> buffer(folder.begin(), folder.end());
    buffer.push_back(L'\0');
    PathRemoveBackslashW(buffer.data());
    folder = buffer.data();
    LaunchInstalledProgram(folder + L"\\" + config_.manifest.mainComponentExecutable);
    if (CInstallGuide* guide = Guide())
        guide->CloseGuide();
}
