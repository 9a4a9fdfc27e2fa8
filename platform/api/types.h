// Value types and Win32 constants shared by every port.
//
// The constants carry their documented Win32 values. Their names are our own
// (kCamelCase) so that they never collide with the macros of the real
// platform headers, which the win32 backend includes next to these.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

using Dword = std::uint32_t;
using LangId = std::uint16_t;
using Lcid = std::uint32_t;

// A window handle: 0 is "no window". The win32 backend casts HWND to and fro.
using WindowId = std::uintptr_t;
inline constexpr WindowId kNoWindow = 0;

// A menu handle: 0 is "no menu".
using MenuId = std::uintptr_t;
inline constexpr MenuId kNoMenu = 0;

// A found resource (HRSRC); 0 is "not found".
using ResourceHandle = std::uintptr_t;
inline constexpr ResourceHandle kNoResource = 0;

// Win32 error codes (GetLastError values) the system relies on.
inline constexpr Dword kErrorSuccess = 0;
inline constexpr Dword kErrorFileNotFound = 2;
inline constexpr Dword kErrorAccessDenied = 5;
inline constexpr Dword kErrorInvalidHandle = 6;
inline constexpr Dword kErrorNotEnoughMemory = 8;
inline constexpr Dword kErrorInvalidParameter = 87;
inline constexpr Dword kErrorCallNotImplemented = 120;
inline constexpr Dword kErrorResourceNameNotFound = 1814;
inline constexpr Dword kErrorInvalidWindowHandle = 1400;
inline constexpr Dword kErrorAlreadyExists = 183;
inline constexpr Dword kErrorTimeout = 1460;
inline constexpr Dword kErrorInvalidFunction = 1;
inline constexpr Dword kErrorPathNotFound = 3;
inline constexpr Dword kErrorSharingViolation = 32;
inline constexpr Dword kErrorFileExists = 80;
inline constexpr Dword kErrorDiskFull = 112;
inline constexpr Dword kErrorInvalidName = 123;
inline constexpr Dword kErrorNegativeSeek = 131;
inline constexpr Dword kErrorInvalidEnvironment = 1805;
inline constexpr Dword kErrorProcNotFound = 127;
inline constexpr Dword kErrorInsufficientBuffer = 122;
inline constexpr Dword kErrorNoMoreItems = 259;

// Windows Sockets error codes.
inline constexpr int kWsaSysNotReady = 10091;
inline constexpr int kWsaVerNotSupported = 10092;

// OSVERSIONINFOEXW facts.
inline constexpr Dword kVerPlatformWin32Windows = 1;
inline constexpr Dword kVerPlatformWin32Nt = 2;
inline constexpr std::uint8_t kVerNtWorkstation = 1;
inline constexpr std::uint8_t kVerNtDomainController = 2;
inline constexpr std::uint8_t kVerNtServer = 3;

// Language identifiers.
inline constexpr LangId kLangEnglishUs = 1033;
inline constexpr LangId kLangKorean = 1042;
inline constexpr LangId kLangChineseSimplified = 2052;

constexpr LangId primaryLanguage(LangId lang) {
  return static_cast<LangId>(lang & 0x3FFU);
}
constexpr LangId makeLangId(unsigned primary, unsigned sub) {
  return static_cast<LangId>((sub << 10U) | primary);
}
// MAKELCID(lang, SORT_DEFAULT)
constexpr Lcid makeLcid(LangId lang) {
  return lang;
}

// Window messages.
inline constexpr std::uint32_t kWmNull = 0x0000;
inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmInitDialog = 0x0110;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmTimer = 0x0113;
inline constexpr std::uint32_t kWmUser = 0x0400;

// Notification codes and system commands.
inline constexpr std::uint32_t kBnClicked = 0;
inline constexpr std::uint32_t kScClose = 0xF060;

// ShowWindow commands.
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMinimized = 2;
inline constexpr int kSwShow = 5;

// Dialog and message box results (control ids of the standard buttons).
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// MessageBox types: the button sets and a few flags.
inline constexpr Dword kMbOk = 0x0;
inline constexpr Dword kMbOkCancel = 0x1;
inline constexpr Dword kMbAbortRetryIgnore = 0x2;
inline constexpr Dword kMbYesNoCancel = 0x3;
inline constexpr Dword kMbYesNo = 0x4;
inline constexpr Dword kMbRetryCancel = 0x5;
inline constexpr Dword kMbTypeMask = 0xF;
inline constexpr Dword kMbIconError = 0x10;
inline constexpr Dword kMbIconQuestion = 0x20;
inline constexpr Dword kMbIconWarning = 0x30;
inline constexpr Dword kMbIconInformation = 0x40;

// Menu flags (AppendMenuW).
inline constexpr Dword kMfString = 0x0000;
inline constexpr Dword kMfChecked = 0x0008;
inline constexpr Dword kMfPopup = 0x0010;
inline constexpr Dword kMfSeparator = 0x0800;

// Common controls classes (INITCOMMONCONTROLSEX.dwICC).
inline constexpr Dword kIccListViewClasses = 0x01;
inline constexpr Dword kIccTreeViewClasses = 0x02;
inline constexpr Dword kIccBarClasses = 0x04;
inline constexpr Dword kIccTabClasses = 0x08;
inline constexpr Dword kIccUpDownClass = 0x10;
inline constexpr Dword kIccProgressClass = 0x20;
inline constexpr Dword kIccHotkeyClass = 0x40;
inline constexpr Dword kIccAnimateClass = 0x80;
// ICC_WIN95_CLASSES: the eight classes above.
inline constexpr Dword kIccWin95Classes = 0xFF;

// Wait results and the infinite timeout.
inline constexpr Dword kInfinite = 0xFFFFFFFF;
inline constexpr Dword kWaitObject0 = 0;
inline constexpr Dword kWaitTimeout = 258;
inline constexpr Dword kWaitFailed = 0xFFFFFFFF;

// CreateFileW access rights, sharing, dispositions and attributes.
inline constexpr Dword kGenericRead = 0x80000000;
inline constexpr Dword kGenericWrite = 0x40000000;
inline constexpr Dword kFileShareRead = 0x1;
inline constexpr Dword kFileShareWrite = 0x2;
inline constexpr Dword kFileShareDelete = 0x4;
inline constexpr Dword kCreateNew = 1;
inline constexpr Dword kCreateAlways = 2;
inline constexpr Dword kOpenExisting = 3;
inline constexpr Dword kOpenAlways = 4;
inline constexpr Dword kTruncateExisting = 5;
inline constexpr Dword kFileAttributeReadOnly = 0x01;
inline constexpr Dword kFileAttributeHidden = 0x02;
inline constexpr Dword kFileAttributeDirectory = 0x10;
inline constexpr Dword kFileAttributeArchive = 0x20;
inline constexpr Dword kFileAttributeNormal = 0x80;
inline constexpr Dword kInvalidFileAttributes = 0xFFFFFFFF;

// SetFilePointerEx move methods.
inline constexpr Dword kFileBegin = 0;
inline constexpr Dword kFileCurrent = 1;
inline constexpr Dword kFileEnd = 2;

// SHGetFolderPathW folders and flags.
inline constexpr int kCsidlWindows = 0x0024;
inline constexpr int kCsidlSystem = 0x0025;
inline constexpr int kCsidlProgramFiles = 0x0026;
inline constexpr Dword kShgfpTypeCurrent = 0;
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND).
inline constexpr Dword kHresultFileNotFound = 0x80070002U;

// ShellExecuteW: values up to 32 are errors.
inline constexpr std::intptr_t kShellExecuteErrorLimit = 32;
inline constexpr std::intptr_t kSeErrFileNotFound = 2;

// MAKEWORD(lo, hi) and its halves.
constexpr std::uint16_t makeWord(unsigned low, unsigned high) {
  return static_cast<std::uint16_t>((high << 8U) | (low & 0xFFU));
}
constexpr unsigned lowByte(std::uint16_t w) {
  return w & 0xFFU;
}
constexpr unsigned highByte(std::uint16_t w) {
  return (w >> 8U) & 0xFFU;
}
constexpr std::uint16_t lowWord(std::uintptr_t v) {
  return static_cast<std::uint16_t>(v & 0xFFFFU);
}
constexpr std::uint16_t highWord(std::uintptr_t v) {
  return static_cast<std::uint16_t>((v >> 16U) & 0xFFFFU);
}
constexpr std::uintptr_t makeWParam(unsigned low, unsigned high) {
  return (static_cast<std::uintptr_t>(high & 0xFFFFU) << 16U) | (low & 0xFFFFU);
}

}  // namespace plat

namespace plat {

// Window styles.
inline constexpr Dword kWsPopup = 0x80000000;
inline constexpr Dword kWsChild = 0x40000000;
inline constexpr Dword kWsMinimize = 0x20000000;
inline constexpr Dword kWsVisible = 0x10000000;
inline constexpr Dword kWsDisabled = 0x08000000;
inline constexpr Dword kWsSysMenu = 0x00080000;
inline constexpr Dword kWsMinimizeBox = 0x00020000;
inline constexpr Dword kWsTabStop = 0x00010000;
inline constexpr Dword kWsExStaticEdge = 0x00020000;
inline constexpr Dword kWsExLayered = 0x00080000;
// SetLayeredWindowAttributes: which of the colour key and the alpha apply.
inline constexpr Dword kLwaColorKey = 0x1;
inline constexpr Dword kLwaAlpha = 0x2;
// The style bit 0x0800 that the main window adds to itself (WS_EX_... has no
// name for it in the window-style space; it is DS_CENTER in a template).
inline constexpr Dword kDsCenter = 0x0800;

// Control styles.
inline constexpr Dword kBsTypeMask = 0x1F;
inline constexpr Dword kBsPushButton = 0x0;
inline constexpr Dword kBsDefPushButton = 0x1;
inline constexpr Dword kBsCheckBoxBit = 0x2;
inline constexpr Dword kBsOwnerDraw = 0xB;
inline constexpr Dword kSsTypeMask = 0x1F;
inline constexpr Dword kSsCenter = 0x1;
inline constexpr Dword kSsRight = 0x2;
inline constexpr Dword kSsNotify = 0x0100;
inline constexpr Dword kSsCenterImage = 0x0200;

// GetWindowLongW indices.
inline constexpr int kGwlStyle = -16;
inline constexpr int kGwlExStyle = -20;

// More window messages.
inline constexpr std::uint32_t kWmActivate = 0x0006;
inline constexpr std::uint32_t kWmKillFocus = 0x0008;
inline constexpr std::uint32_t kWmEnable = 0x000A;
inline constexpr std::uint32_t kWmSetText = 0x000C;
inline constexpr std::uint32_t kWmPaint = 0x000F;
inline constexpr std::uint32_t kWmEraseBkgnd = 0x0014;
inline constexpr std::uint32_t kWmSysColorChange = 0x0015;
inline constexpr std::uint32_t kWmCancelMode = 0x001F;
inline constexpr std::uint32_t kWmSetCursor = 0x0020;
inline constexpr std::uint32_t kWmDrawItem = 0x002B;
inline constexpr std::uint32_t kWmSetFont = 0x0030;
inline constexpr std::uint32_t kWmQueryDragIcon = 0x0037;
inline constexpr std::uint32_t kWmSetIcon = 0x0080;
inline constexpr std::uint32_t kWmNcHitTest = 0x0084;
inline constexpr std::uint32_t kWmGetDlgCode = 0x0087;
inline constexpr std::uint32_t kWmCtlColorBtn = 0x0135;
inline constexpr std::uint32_t kWmCtlColorStatic = 0x0138;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmMouseLeave = 0x02A3;

// Mouse key state of mouse messages (wParam).
inline constexpr std::uintptr_t kMkLButton = 0x0001;

// WM_NCHITTEST answers.
inline constexpr std::intptr_t kHtTransparent = -1;
inline constexpr std::intptr_t kHtNowhere = 0;
inline constexpr std::intptr_t kHtClient = 1;
inline constexpr std::intptr_t kHtCaption = 2;

// WM_SETICON kinds.
inline constexpr std::uintptr_t kIconSmall = 0;
inline constexpr std::uintptr_t kIconBig = 1;

// WM_GETDLGCODE answers.
inline constexpr std::intptr_t kDlgcDefPushButton = 0x0010;
inline constexpr std::intptr_t kDlgcUndefPushButton = 0x0020;
inline constexpr std::intptr_t kDlgcStatic = 0x0100;
inline constexpr std::intptr_t kDlgcButton = 0x2000;

// DM_GETDEFID: the dialog's default button, MAKELONG(id, DC_HASDEFID).
inline constexpr std::uint32_t kDmGetDefId = kWmUser + 0;
inline constexpr unsigned kDcHasDefId = 0x534B;

// Virtual keys (WM_KEYDOWN's wParam).
inline constexpr std::uintptr_t kVkReturn = 0x0D;
inline constexpr std::uintptr_t kVkEscape = 0x1B;

// SetWindowPos flags.
inline constexpr Dword kSwpNoSize = 0x0001;
inline constexpr Dword kSwpNoMove = 0x0002;
inline constexpr Dword kSwpNoZOrder = 0x0004;
inline constexpr Dword kSwpNoActivate = 0x0010;
inline constexpr Dword kSwpFrameChanged = 0x0020;

// Control messages and notifications.
inline constexpr std::uint32_t kBmGetCheck = 0x00F0;
inline constexpr std::uint32_t kBmSetCheck = 0x00F1;
inline constexpr std::uint32_t kBmSetStyle = 0x00F4;
inline constexpr std::uint32_t kCbGetCount = 0x0146;
inline constexpr std::uint32_t kCbGetCurSel = 0x0147;
inline constexpr std::uint32_t kCbInsertString = 0x014A;
inline constexpr std::uint32_t kCbSetCurSel = 0x014E;
inline constexpr std::uint32_t kCbnSelChange = 1;
inline constexpr std::uint32_t kLbAddString = 0x0180;
inline constexpr std::uint32_t kLbGetText = 0x0189;
inline constexpr std::uint32_t kLbGetCount = 0x018B;
inline constexpr std::uint32_t kPbmSetRange = 0x0401;
inline constexpr std::uint32_t kPbmSetPos = 0x0402;
inline constexpr std::uint32_t kPbmGetRange = 0x0407;
inline constexpr std::uint32_t kPbmGetPos = 0x0408;
inline constexpr std::intptr_t kCbErr = -1;

// RedrawWindow flags.
inline constexpr Dword kRdwInvalidate = 0x0001;
inline constexpr Dword kRdwErase = 0x0004;
inline constexpr Dword kRdwUpdateNow = 0x0100;

// Owner-draw item states (DRAWITEMSTRUCT.itemState).
inline constexpr Dword kOdsSelected = 0x0001;
inline constexpr Dword kOdsDisabled = 0x0004;
inline constexpr Dword kOdsFocus = 0x0010;

// WM_CTLCOLOR kinds, as MFC's OnCtlColor names them.
inline constexpr int kCtlColorBtn = 3;
inline constexpr int kCtlColorStatic = 6;

// System cursors (LoadCursorW with no module).
inline constexpr std::uint32_t kIdcArrow = 32512;
inline constexpr std::uint32_t kIdcHand = 32649;

// System menu command ids.
inline constexpr std::uintptr_t kScMinimize = 0xF020;

}  // namespace plat
