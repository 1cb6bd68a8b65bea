#include "wizard/setting_panel.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/notifier.h"
#include "config/installer_config.h"
#include "i18n/region_check.h"
#include "i18n/ui_string_format.h"
#include "i18n/ui_string_lookup.h"
#include "resource_ids.h"
#include "ui/dpi.h"
#include "ui/image_cache.h"
#include "ui/image_variant.h"
#include "ui/image_wrapper.h"
#include "ui/theme.h"
#include "wizard/exit_code.h"
#include "wizard/install_folder.h"
#include "wizard/install_guide.h"
#include "wizard/panel_geometry.h"

namespace {

constexpr unsigned kCheckedFamily = 153;
constexpr unsigned kUncheckedFamily = 157;
constexpr unsigned kChevronUpFamily = 161;
constexpr unsigned kChevronDownFamily = 165;

PanelScale ScreenScale()
{
    const ScreenDpi& dpi = CachedScreenDpi();
    return PanelScale{dpi.x ? dpi.x : 96, dpi.y ? dpi.y : 96};
}

void Place(HWND window, const RECT& r)
{
    if (window)
        MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void StyleLabel(CZYLStatic& label, HFONT font, COLORREF text, UINT format)
{
    label.font = font;
    label.textColor = text;
    label.backgroundColor = Theme().WindowBackground;
    label.format = format;
}

void SetLabelText(CZYLStatic& label, const std::wstring& text)
{
    label.SetLabel(text);
    if (label.Hwnd())
        InvalidateRect(label.Hwnd(), nullptr, TRUE);
}

}  // namespace

CSettingPanel::CSettingPanel(InstallerConfig& config) : CGuidePanel(IDD_SETTING_PANEL), config_(config)
{
    OnCommand(IDC_INSTALL_BUTTON, BN_CLICKED, [this] { OnInstall(); });
    OnCommand(IDC_LICENSE_CHECK, BN_CLICKED, [this] {
        licenceAccepted = !licenceAccepted;
        UpdateLicenceState();
    });
    OnCommand(IDC_SETTINGS_CHEVRON, BN_CLICKED, [this] { ToggleSettings(); });
    OnCommand(IDC_SETTINGS_TOGGLE, STN_CLICKED, [this] { ToggleSettings(); });
    OnCommand(IDC_LICENSE_LINK, STN_CLICKED, [this] { OpenLicenceTerms(); });
    OnCommand(IDC_BROWSE_BUTTON, BN_CLICKED, [this] { BrowseForFolder(); });
    OnCommand(IDC_LANGUAGE_COMBO, CBN_SELENDOK, [this] {
        const LRESULT index = SendMessageW(languageCombo.Hwnd(), CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<size_t>(index) < config_.languages.size()) {
            config_.language.langId = config_.languages[index].langId;
            ReloadTexts();
        }
    });
    OnCommand(IDC_ASSOCIATION_COMBO, CBN_SELENDOK, [this] {
        const LRESULT index = SendMessageW(associationCombo.Hwnd(), CB_GETCURSEL, 0, 0);
        if (index >= 0 && index <= 2)
            config_.associationLevel = static_cast<int32_t>(index);
    });
    // The edit field's text area is painted in the field colour.
    OnMessage(WM_CTLCOLOREDIT, [this](WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (reinterpret_cast<HWND>(lParam) == folderEdit.Hwnd() && fieldBrush_) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, folderEdit.textColor);
            SetBkColor(dc, folderEdit.backgroundColor);
            return reinterpret_cast<LRESULT>(fieldBrush_.Get());
        }
        return Default();
    });
}

bool CSettingPanel::OnInitDialog()
{
    CGuidePanel::OnInitDialog();
    HWND window = Hwnd();

    const ThemePalette& theme = Theme();
    installButton.AttachToItem(window, IDC_INSTALL_BUTTON);
    licenceCheck.AttachToItem(window, IDC_LICENSE_CHECK);
    acceptLabel.AttachToItem(window, IDC_ACCEPT_LABEL);
    licenceLink.AttachToItem(window, IDC_LICENSE_LINK);
    settingsToggle.AttachToItem(window, IDC_SETTINGS_TOGGLE);
    chevron.AttachToItem(window, IDC_SETTINGS_CHEVRON);
    languageLabel.AttachToItem(window, IDC_LANGUAGE_LABEL);
    languageCombo.AttachToItem(window, IDC_LANGUAGE_COMBO);
    associationLabel.AttachToItem(window, IDC_ASSOCIATION_LABEL);
    associationCombo.AttachToItem(window, IDC_ASSOCIATION_COMBO);
    folderLabel.AttachToItem(window, IDC_FOLDER_LABEL);
    folderEdit.AttachToItem(window, IDC_FOLDER_EDIT);
    browseButton.AttachToItem(window, IDC_BROWSE_BUTTON);

    StyleLabel(acceptLabel, BodyFont(), theme.LabelText, DT_SINGLELINE | DT_BOTTOM | DT_LEFT);
    StyleLabel(licenceLink, LinkFont(), RGB(89, 134, 178), DT_SINGLELINE | DT_BOTTOM | DT_LEFT);
    licenceLink.MakeLink();
    StyleLabel(settingsToggle, BodyFont(), theme.LabelText, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
    for (CZYLStatic* label : {&languageLabel, &associationLabel, &folderLabel})
        StyleLabel(*label, BodyFont(), theme.LabelText, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    const COLORREF bg = theme.WindowBackground;
    licenceCheck.SetAppearance(bg, bg, bg, bg, L"");
    chevron.SetAppearance(bg, bg, bg, bg, L"");
    const COLORREF border = theme.FieldBorder;
    browseButton.SetAppearance(border, border, border, border, L"...");

    for (CZYLComboBox* combo : {&languageCombo, &associationCombo}) {
        combo->font = BodyFont();
        combo->backgroundColor = theme.FieldBackground;
        combo->buttonColor = theme.FieldBorder;
        combo->borderColor = theme.FieldBackground;
        if (combo->EditChild().Hwnd())
            SendMessageW(combo->EditChild().Hwnd(), EM_SETREADONLY, TRUE, 0);
    }
    folderEdit.backgroundColor = theme.FieldBackground;
    folderEdit.borderColor = theme.FieldBackground;
    folderEdit.inputMode = 2;
    fieldBrush_.Reset(CreateSolidBrush(theme.FieldBackground));
    folderEdit.backgroundBrush = fieldBrush_.Get();
    for (int id : {IDC_LANGUAGE_LABEL, IDC_LANGUAGE_COMBO, IDC_ASSOCIATION_LABEL, IDC_ASSOCIATION_COMBO})
        ShowWindow(Item(id), SW_HIDE);

    const int itemHeight = CachedScreenDpi().y * 24 / 96;
    const LanguageResources& language = config_.language;
    for (UIStringId id : {UIStringId::FileAssociateAll, UIStringId::FileAssociateUnused, UIStringId::FileAssociateNone}) {
        const std::wstring text = LoadUIString(language, id);
        const LRESULT index = SendMessageW(associationCombo.Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(associationCombo.Hwnd(), CB_SETITEMHEIGHT, index, itemHeight);
    }
    SendMessageW(associationCombo.Hwnd(), CB_SETCURSEL,
                 config_.associationLevel >= 0 && config_.associationLevel <= 2 ? config_.associationLevel : 0, 0);
    int selected = 0;
    for (size_t i = 0; i < config_.languages.size(); ++i) {
        const LRESULT index = SendMessageW(languageCombo.Hwnd(), CB_ADDSTRING, 0,
                                           reinterpret_cast<LPARAM>(config_.languages[i].name.c_str()));
        SendMessageW(languageCombo.Hwnd(), CB_SETITEMHEIGHT, index, itemHeight);
        if (config_.languages[i].langId == config_.language.langId)
            selected = static_cast<int>(i);
    }
    SendMessageW(languageCombo.Hwnd(), CB_SETCURSEL, selected, 0);
    SetLabelText(associationLabel, LoadUIString(language, UIStringId::FileAssociation));

    SetWindowTextW(folderEdit.Hwnd(), config_.installFolder.c_str());
    licenceAccepted = IsExplicitAcceptanceRegion() ? 0 : 1;
    UpdateLicenceState();
    UpdateChevron();
    ReloadTexts();
    return false;
}

void CSettingPanel::SetButtonImage(CZYLButton& button, unsigned family)
{
    if (auto image = LoadPngResource(ScreenImageVariantId(family)); image && image->Bitmap())
        button.SetImage(image->Bitmap(), {image->width, image->height}, 1, 1);
    if (button.Hwnd())
        InvalidateRect(button.Hwnd(), nullptr, TRUE);
}

void CSettingPanel::UpdateLicenceState()
{
    SetButtonImage(licenceCheck, licenceAccepted ? kCheckedFamily : kUncheckedFamily);
    licenceCheck.SetAccessibleChecked(licenceAccepted != 0);
    const int wasEnabled = installButton.enabled;
    installButton.SetEnabled(licenceAccepted != 0);
    installButton.hover = 0;
    installButton.pressed = 0;
    if (wasEnabled != installButton.enabled && installButton.Hwnd())
        InvalidateRect(installButton.Hwnd(), nullptr, TRUE);
}

void CSettingPanel::UpdateChevron()
{
    SetButtonImage(chevron, settingsFolded ? kChevronDownFamily : kChevronUpFamily);
}

void CSettingPanel::ToggleSettings()
{
    settingsFolded = !settingsFolded;
    if (CInstallGuide* guide = Guide())
        guide->FitToPanel();
    UpdateChevron();
}

SIZE CSettingPanel::PreferredSize() const
{
    return SettingsPanelSize(ScreenScale(), settingsFolded != 0);
}

void CSettingPanel::ReloadTexts()
{
    const LanguageResources& language = config_.language;
    installButton.SetText(LoadUIString(language, UIStringId::Install));
    if (installButton.Hwnd())
        InvalidateRect(installButton.Hwnd(), nullptr, TRUE);
    SetLabelText(acceptLabel, LoadUIString(language, UIStringId::AcceptLicenseTerms));
    SetLabelText(licenceLink, LoadUIString(language, UIStringId::LinkLicenseTerms));
    SetLabelText(settingsToggle, LoadUIString(language, UIStringId::InstallSettings));
    SetLabelText(languageLabel, LoadUIString(language, UIStringId::SelectLang));
    SetLabelText(folderLabel, LoadUIString(language, UIStringId::InstallFolder));
    Layout(ClientRect());
}

void CSettingPanel::Layout(const RECT& client)
{
    if (!installButton.Hwnd())
        return;
    SettingsTexts texts;
    const SIZE none{0, 0};
    texts.acceptLabel = MeasureText(acceptLabel.text, BodyFont(), none);
    texts.licenceLink = MeasureText(licenceLink.text, LinkFont(), none);
    texts.toggleLabel = MeasureText(settingsToggle.text, LinkFont(), none);
    texts.languageLabel = MeasureText(languageLabel.text, LinkFont(), none);
    texts.associationLabel = MeasureText(associationLabel.text, LinkFont(), none);
    texts.folderLabel = MeasureText(folderLabel.text, LinkFont(), none);
    const SettingsLayoutRects r = LayoutSettings(ScreenScale(), client, texts);
    Place(installButton.Hwnd(), r.install);
    Place(licenceCheck.Hwnd(), r.check);
    Place(acceptLabel.Hwnd(), r.acceptLabel);
    Place(licenceLink.Hwnd(), r.licenceLink);
    Place(chevron.Hwnd(), r.chevron);
    Place(settingsToggle.Hwnd(), r.toggleLabel);
    Place(languageLabel.Hwnd(), r.languageLabel);
    Place(languageCombo.Hwnd(), r.languageCombo);
    Place(associationLabel.Hwnd(), r.associationLabel);
    Place(associationCombo.Hwnd(), r.associationCombo);
    Place(folderEdit.Hwnd(), r.folderEdit);
    Place(browseButton.Hwnd(), r.browse);
    Place(folderLabel.Hwnd(), r.folderLabel);
    separatorX = r.separator.x;
    separatorY = r.separator.y;
}

void CSettingPanel::Draw(HDC dc)
{
    const RECT client = ClientRect();
    const int W = client.right - client.left;
    const int size = StepScaleX(64);
    const int iconTop = client.top + StepScaleX(48);
    if (HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), IMAGE_ICON, size, size, 0))) {
        DrawIconEx(dc, client.left + (W - size) / 2, iconTop, icon, size, size, 0, nullptr, DI_NORMAL | DI_COMPAT);
        DestroyIcon(icon);
    }
    const std::wstring& name = config_.manifest.fullName;
    if (!name.empty()) {
        HGDIOBJ old = SelectObject(dc, TitleFont());
        SIZE text{};
        GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &text);
        RECT box = TitleRectBelowIcon(client, iconTop, size, text);
        SetTextColor(dc, Theme().TitleText);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &box,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS);
        SelectObject(dc, old);
    }
    if (separatorX || separatorY) {
        UniquePen pen(CreatePen(PS_SOLID, 1, RGB(40, 40, 40)));
        HGDIOBJ old = SelectObject(dc, pen.Get());
        MoveToEx(dc, separatorX, separatorY, nullptr);
        LineTo(dc, client.right, separatorY);
        SelectObject(dc, old);
    }
}

bool CSettingPanel::QueryClose()
{
    const bool close = Notify(LoadUIString(config_.language, UIStringId::MessageCancelNotice),
                              config_.manifest.shortName, MB_YESNO | MB_ICONEXCLAMATION, Hwnd()) == IDYES;
    if (close)
        TheWizardResult().outcome = WizardOutcome::Cancelled;
    return close;
}

std::wstring CSettingPanel::FolderFieldText() const
{
    HWND field = folderEdit.Hwnd();
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool CSettingPanel::ValidateAndCreateFolder()
{
    if (!licenceAccepted)
        return false;
    const std::wstring path = WithoutOneTrailingBackslash(FolderFieldText());
    if (CreateFolderLevels(path)) {
        config_.installFolder = path;
        return true;
    }
    Notify(FormatUIString<UIStringId::ErrCreateFolderFailed>(config_.language, path), config_.manifest.shortName,
           MB_ICONWARNING | MB_OK, Hwnd());
    SetWindowTextW(folderEdit.Hwnd(), config_.installFolder.c_str());
    return false;
}

void CSettingPanel::OnInstall()
{
    if (IsWindowVisible(Hwnd()) && ValidateAndCreateFolder())
        GoToNextPanel();
}

namespace {

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    else if (message == BFFM_SELCHANGED) {
        wchar_t path[MAX_PATH] = {};
        const BOOL hasPath = SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path);
        SendMessageW(window, BFFM_ENABLEOK, 0, hasPath);
    }
    return 0;
}

}  // namespace

void CSettingPanel::BrowseForFolder()
{
    std::wstring start = FolderFieldText();
    if (!start.empty()) {
        wchar_t full[261] = {};
        if (GetFullPathNameW(start.c_str(), 261, full, nullptr) > 0 && GetFullPathNameW(start.c_str(), 261, full, nullptr) < 261)
            start = full;
        if (start.size() > 1 && start.back() == L'\\' && start[start.size() - 2] != L':')
            start.pop_back();
        while (!PathFileExistsW(start.c_str())) {
            const size_t cut = start.rfind(L'\\');
            if (cut == std::wstring::npos)
                break;
            start.resize(cut);
        }
    }
    const std::wstring title = LoadUIString(config_.language, UIStringId::BrowseDestFolder);
    BROWSEINFOW info{};
    info.hwndOwner = Hwnd();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen)
        return;
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(chosen, path)) {
        config_.installFolder = path;
        SetWindowTextW(folderEdit.Hwnd(), path);
    }
    CoTaskMemFree(chosen);
}

void CSettingPanel::OpenLicenceTerms()
{
    const std::wstring link = LoadLinkString(config_.language, UIStringId::RlinkTerms);
    ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
