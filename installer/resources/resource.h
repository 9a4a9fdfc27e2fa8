// Resource ids of Brisvane other than the string table (string_ids.h).
#ifndef BRISVANE_RESOURCE_H
#define BRISVANE_RESOURCE_H

#include "string_ids.h"

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_BRISVANE_DIALOG 102

// Icons.
#define IDR_MAINFRAME 128
#define IDI_ADD_USB_PRINTER 143
#define IDI_ADD_NETWORK 144
#define IDI_DELETE_ALL 155
#define IDI_UPDATE_DRIVER 156
#define IDI_INSTALL_USB 157
#define IDI_DOWNGRADE_DRIVER 158
#define IDI_CLOSE 165
#define IDI_MINIMISE 166

// The background pictures, in the order the window rotates them.
#define IDB_BACKGROUND_1 205
#define IDB_BACKGROUND_2 169
#define IDB_BACKGROUND_3 168
#define IDB_BACKGROUND_4 167
#define IDB_BACKGROUND_5 211

// The printer icon's menu.
#define IDR_ICON_MENU 159
#define ID_MENU_RESET_EXIT 32771
#define ID_MENU_DELETE_PRINTER 32772
#define ID_MENU_SCAN_USB 32773
#define ID_MENU_ADD_USB_MANUALLY 32774

// System menu command of the About item.
#define IDM_ABOUTBOX 0x0010

// Controls of the main window.
#define IDC_INSTALL_USB 1000
#define IDC_DELETE_ALL 1001
#define IDC_LEGACY_REMAIN 1002
#define IDC_LEGACY_UNINSTALL 1003
#define IDC_ADD_NETWORK 1004
#define IDC_VERSION_LINE 1005
#define IDC_TITLE 1006
#define IDC_STATUS_LINE 1007
#define IDC_WEBSITE_LINK 1015
#define IDC_PROGRESS 1020
#define IDC_WELCOME 1021
#define IDC_NOTICE 1025
#define IDC_LANGUAGE_LABEL 1026
#define IDC_LANGUAGE_BOX 1027
#define IDC_RESULT_LIST 1028

// Controls of the About box.
#define IDC_ABOUT_VERSION 1030
#define IDC_ABOUT_NOTICE 1031

#endif
