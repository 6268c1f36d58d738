// The framework's standard ids (commands, bar windows, strings) and the control bar styles.
// The ids are macros spelled exactly as resource.h spells them, so that both headers may be
// included in any order (an identical macro may be defined twice).
#pragma once

#include "afx/win/windefs.h"

// The help context of a dialog, page or window is this base plus its template id.
#define HID_BASE_RESOURCE                        0x20000

// Commands the framework handles.
#define ID_SEPARATOR                             0
#define ID_FILE_NEW                              57600
#define ID_FILE_OPEN                             57601
#define ID_FILE_SAVE                             57603
#define ID_FILE_SAVE_AS                          57604
#define ID_FILE_MRU_FILE1                        57616
#define ID_FILE_MRU_FILE16                       57631
#define ID_APP_EXIT                              57665
#define ID_HELP_FINDER                           57667
#define ID_HELP                                  57670
#define ID_INDICATOR_CAPS                        59137
#define ID_INDICATOR_NUM                         59138
#define ID_INDICATOR_SCRL                        59139
#define ID_VIEW_TOOLBAR                          59392
#define ID_VIEW_STATUS_BAR                       59393

// The frame's own child windows.
#define AFX_IDW_TOOLBAR                          59392
#define AFX_IDW_STATUS_BAR                       59393
#define AFX_IDW_REBAR                            59396
#define AFX_IDW_PANE_FIRST                       59648

// Strings of the framework; afx::FrameworkString has a French text for each.
#define AFX_IDS_APP_TITLE                        57344
#define AFX_IDS_IDLEMESSAGE                      57345
#define AFX_IDS_OPENFILE                         61440
#define AFX_IDS_SAVEFILE                         61441
#define AFX_IDS_ALLFILTER                        61442
#define AFX_IDS_UNTITLED                         61443
#define AFX_IDP_INVALID_FILENAME                 61696
#define AFX_IDP_FAILED_TO_OPEN_DOC               61697
#define AFX_IDP_FAILED_TO_SAVE_DOC               61698
#define AFX_IDP_ASK_TO_SAVE                      61699
#define AFX_IDP_FAILED_TO_CREATE_DOC             61700
#define AFX_IDP_FAILED_INVALID_FORMAT            61728
#define AFX_IDP_FAILED_INVALID_PATH              61729
#define AFX_IDP_FAILED_DISK_FULL                 61730
#define AFX_IDP_FAILED_ACCESS_READ               61731
#define AFX_IDP_FAILED_ACCESS_WRITE              61732
#define AFX_IDP_FAILED_IO_ERROR_READ             61733
#define AFX_IDP_FAILED_IO_ERROR_WRITE            61734
// A write past the process's file-size limit (EFBIG), which is no full disk.
#define AFX_IDP_FAILED_TOO_LARGE                 61735
#define AFX_IDP_PARSE_INT                        61712
#define AFX_IDP_PARSE_INT_RANGE                  61714
#define AFX_IDP_PARSE_STRING_SIZE                61716
#define AFX_IDP_PARSE_UINT                       61719
// The help window's own texts.
#define AFX_IDS_HELP_WINDOW                      61920
#define AFX_IDP_HELP_NO_TOPIC                    61921
#define AFX_IDS_HELP_CONTENTS                    61922

// Control bar styles (the low word of a bar's style; the window styles keep the high word).
// Constants rather than enumerators, so that they combine with the window styles.
constexpr DWORD CBRS_TOOLTIPS = 0x0010, CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100, CBRS_BORDER_TOP = 0x0200, CBRS_BORDER_RIGHT = 0x0400,
                CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000, CBRS_ALIGN_TOP = 0x2000, CBRS_ALIGN_RIGHT = 0x4000,
                CBRS_ALIGN_BOTTOM = 0x8000, CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ALL = 0x0040FFFF;

// Toolbar and rebar styles.
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD RBS_BANDBORDERS = 0x0400;
constexpr DWORD RBBS_FIXEDBMP = 0x0020, RBBS_GRIPPERALWAYS = 0x0080,
                RBBS_NOGRIPPER = 0x0100;

// The frame appends the document's title to its own.
constexpr DWORD FWS_ADDTOTITLE = 0x8000;

// Lock keys, for GetKeyState: their toggle state is the low bit.
constexpr int VK_CAPITAL = 0x14, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91;
