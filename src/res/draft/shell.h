// Resource ids of the application shell, the device connection, the dialog machinery and
// the password and result dialogs.
#pragma once

// Standard ids
#define IDC_STATIC                      -1
#define IDOK                            1
#define IDCANCEL                        2
#define IDHELP                          9

// Document template: document string, menu, accelerators, icon, toolbar
#define IDR_MAINFRAME                   128

// Dialog templates
#define IDD_ABOUTBOX                    100
#define IDD_PASSWORD                    145
#define IDD_CHANGE_PASSWORD             146
#define IDD_CATEGORY_BAR                162
#define IDD_CAPTION_BAR                 163
#define IDD_DEVICE_SELECT               171
#define IDD_WAIT                        175
#define IDD_DETAILS_MESSAGE             244
#define IDD_UNCHANGED_MAILBOXES         248

// Bitmaps shown by dialog templates
#define IDB_ABOUT                       188

// Controls
#define IDC_NEW_PASSWORD                1004
#define IDC_CATEGORY_LIST_VIEW          1005
#define IDC_CONFIRM_PASSWORD            1006
#define IDC_UNCHANGED_MAILBOX_LIST      1121
#define IDC_OLD_PASSWORD                1140
#define IDC_DEVICE_TREE                 1265
#define IDC_CATEGORY_LIST               1278
#define IDC_PASSWORD                    1298
#define IDC_WAIT_PICTURE                1338
#define IDC_CHANGE_PASSWORD             1382
#define IDC_DETAILS_EXPAND              1384
#define IDC_DETAILS_COLLAPSE            1385
#define IDC_DETAILS_TEXT                1387
#define IDC_DETAILS_MESSAGE             1388
#define IDC_DETAILS_ICON                1389
#define IDC_UNCHANGED_ICON              1395

// Strings
#define IDS_TOOLBAR_CONNECT             10000
#define IDS_TOOLBAR_APPLY               10001
#define IDS_CATEGORY_GENERAL            10006
#define IDS_CATEGORY_NETWORK            10007
#define IDS_CATEGORY_FAX                10008
#define IDS_CATEGORY_DIRECTORY          10009
#define IDS_CATEGORY_MAILBOXES          10010
#define IDS_CATEGORY_REPORTS            10011
#define IDS_TOOLBAR_HELP                10012
#define IDS_LOCAL_DEVICES               10040
#define IDS_STATUS_CONNECTING           10041
#define IDS_TOOLBAR_DISCONNECT          10047
#define IDS_STATUS_UPDATING             10049
#define IDS_TOOLBAR_OPEN                61204
#define IDS_TOOLBAR_SAVE                61205
#define IDS_CATEGORY_PC_FAX             61235
#define IDS_CATEGORY_MAIL_OPTIONS       61236
#define IDS_FIRMWARE_DIALOG_TITLE       61256
#define IDS_STATUS_UPGRADING_FIRMWARE   61258
#define IDS_FIRMWARE_FILTER             61267
#define AFX_IDS_APP_TITLE               57344
#define AFX_IDS_IDLEMESSAGE             57345
#define ID_INDICATOR_CAPS               59137
#define ID_INDICATOR_NUM                59138
#define ID_INDICATOR_SCRL               59139

// Message-box texts
#define IDP_SELECT_DEVICE               10016
#define IDP_APPLY_CONFIRM               10048
#define IDP_UPDATE_FAILED               10050
#define IDP_FIRMWARE_UPGRADE_FAILED     10054
#define IDP_CONNECT_OVERWRITES          61207
#define IDP_INVALID_FAX_CHARACTERS      61223
#define IDP_INVALID_BILLING_CHARACTERS  61224
#define IDP_ALREADY_RUNNING             61228
#define IDP_INVALID_PHONE_CHARACTERS    61233
#define IDP_RESET_CONFIRM               61250
#define IDP_DEVICE_TIME_SET             61251
#define IDP_READ_FAILED                 61252
#define IDP_PASSWORD_NOT_CHANGED        61254
#define IDP_WRONG_PASSWORD              61255
#define IDP_FIRMWARE_UPGRADE_CONFIRM    61257
#define IDP_SUPPLY_ORDER_NEEDS_ADDRESS  61270
#define AFX_IDP_ASK_TO_SAVE             61699

// Commands
#define ID_DEVICE_APPLY                 32772
#define ID_DEVICE_CONNECT               32785
#define ID_CHANGE_PASSWORD              32796
#define ID_DEVICE_DISCONNECT            32798
#define ID_DEVICE_UPGRADE_FIRMWARE      32802
#define ID_DEVICE_RESET                 32804
#define ID_FACTORY_DEFAULTS             32805
#define ID_VIEW_NETWORK_MODE            32808
#define ID_DEVICE_SET_TIME              32812
#define ID_FILE_NEW                     57600
#define ID_FILE_OPEN                    57601
#define ID_FILE_SAVE                    57603
#define ID_FILE_SAVE_AS                 57604
#define ID_FILE_MRU_FILE1               57616
#define ID_FILE_MRU_FILE2               57617
#define ID_FILE_MRU_FILE3               57618
#define ID_FILE_MRU_FILE4               57619
#define ID_EDIT_COPY                    57634
#define ID_EDIT_CUT                     57635
#define ID_EDIT_PASTE                   57637
#define ID_EDIT_UNDO                    57643
#define ID_APP_ABOUT                    57664
#define ID_APP_EXIT                     57665
#define ID_HELP_FINDER                  57667
#define ID_CONTEXT_HELP                 57669
#define ID_HELP                         57670
#define ID_VIEW_TOOLBAR                 59392
#define ID_VIEW_STATUS_BAR              59393
