// CSettingPanel: the wizard's first page (template 137): the product's icon
// and name, the Install button, the licence box with its link and the
// fold-out installation settings (the folder with its browse button; a
// language and a file-association chooser built but hidden). Its results
// reach the rest of the installer only through the configuration: the
// installation folder, the association level and the language.
#pragma once

#include <string>

#include "base/unique_handle.h"
#include "ui/zyl_button.h"
#include "ui/zyl_combo.h"
#include "ui/zyl_edit.h"
#include "ui/zyl_static.h"
#include "ui/zyl_text_button.h"
#include "wizard/guide_panel.h"

struct InstallerConfig;

class CSettingPanel : public CGuidePanel {
public:
    explicit CSettingPanel(InstallerConfig& config);

    void Draw(HDC dc) override;
    void Layout(const RECT& client) override;
    SIZE PreferredSize() const override;
    void OnShow() override { ReloadTexts(); }
    void ReloadTexts() override;
    bool QueryClose() override;

    void UpdateLicenceState();
    void UpdateChevron();
    void ToggleSettings();
    // The folder of the field accepted (created where missing) and stored;
    // on failure a message and the last valid folder back in the field.
    bool ValidateAndCreateFolder();
    void BrowseForFolder();
    void OpenLicenceTerms();

    int licenceAccepted = 1;
    int settingsFolded = 0;
    int separatorX = 0;
    int separatorY = 0;

    CZYLTextButton installButton;
    CZYLButton licenceCheck;
    CZYLStatic acceptLabel;
    CZYLStatic licenceLink;
    CZYLStatic settingsToggle;
    CZYLButton chevron;
    CZYLStatic languageLabel;
    CZYLComboBox languageCombo;
    CZYLStatic associationLabel;
    CZYLComboBox associationCombo;
    CZYLStatic folderLabel;
    CZYLEdit folderEdit;
    CZYLButton browseButton;

protected:
    bool OnInitDialog() override;

private:
    void OnInstall();
    void SetButtonImage(CZYLButton& button, unsigned family);
    std::wstring FolderFieldText() const;

    InstallerConfig& config_;
    UniqueBrush fieldBrush_;
};
