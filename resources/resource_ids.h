// Identifiers of the installer's resources and of the controls in its
// dialog templates, shared by the resource script and the code.
// Plain #defines only: the resource compiler reads this file too.
#ifndef PICTORA_RESOURCE_IDS_H
#define PICTORA_RESOURCE_IDS_H

// The product icon.
#define IDI_PRODUCT 101

// PNG image families: base .. base + 3 for 96, 120, 144 and 192 DPI.
#define IDB_CLOSE_GLYPH 106
#define IDB_MINIMIZE_GLYPH 110
#define IDB_MAXIMIZE_GLYPH 114
#define IDB_RESTORE_GLYPH 118
#define IDB_WORD_MARK 129
#define IDB_COMBO_ARROW 144
#define IDB_CHECK_ON 153
#define IDB_CHECK_OFF 157
#define IDB_CHEVRON_UP 161
#define IDB_CHEVRON_DOWN 165

// Dialog templates.
#define IDD_SETTING_PANEL 137
#define IDD_INSTALL_GUIDE 139
#define IDD_STATUS_PANEL 142
#define IDD_SUCCESS_PANEL 149
#define IDD_CLIENT_VALIDATOR 172

// Settings panel (137).
#define IDC_INSTALL_BUTTON 133
#define IDC_LICENSE_CHECK 134
#define IDC_ACCEPT_LABEL 135
#define IDC_SETTINGS_TOGGLE 136
#define IDC_SETTINGS_CHEVRON 138
#define IDC_FOLDER_LABEL 140
#define IDC_LANGUAGE_COMBO 141
#define IDC_FOLDER_EDIT 143
#define IDC_BROWSE_BUTTON 148
#define IDC_LICENSE_LINK 152
#define IDC_LANGUAGE_LABEL 174
#define IDC_ASSOCIATION_LABEL 175
#define IDC_ASSOCIATION_COMBO 176

// Status panel (142); the slideshow and the progress bar are child
// windows the panel creates itself, with these identifiers.
#define IDC_PROGRESS_BAR 105
#define IDC_STATUS_LABEL 122
#define IDC_PERCENT_LABEL 123
#define IDC_SLIDESHOW 170
#define IDC_TIME_LABEL 173

// Success panel (149); its "Start Now" button has the identifier 1.
#define IDC_START_NOW 1
#define IDC_LAUNCH_CHECK 150
#define IDC_LAUNCH_LABEL 151

// Self-update dialog (172).
#define IDC_CHECK_PROGRESS 171

#endif
