// Resource ids of Brisvane other than the string table (string_ids.h).
#ifndef BRISVANE_RESOURCE_H
#define BRISVANE_RESOURCE_H

#include "string_ids.h"

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_BRISVANE_DIALOG 102

// Icons.
#define IDR_MAINFRAME 128

// The printer icon's menu.
#define IDR_ICON_MENU 159
#define ID_MENU_RESET_EXIT 32771
#define ID_MENU_DELETE_PRINTER 32772
#define ID_MENU_SCAN_USB 32773
#define ID_MENU_ADD_USB_MANUALLY 32774

// System menu command of the About item.
#define IDM_ABOUTBOX 0x0010

// Controls of the About box.
#define IDC_ABOUT_VERSION 1030
#define IDC_ABOUT_NOTICE 1031

#endif
