// resources/resource.h: every resource and control ID of the program, named once.
#pragma once

// Dialogs
#define IDD_ABOUTBOX        100
#define IDD_SEND            102

// Strings
#define IDS_ABOUTBOX        101

// Icons
#define IDI_MIROLT          128

// System-menu commands; the system keeps the low four bits of these for itself.
#define IDM_ABOUTBOX        0x0010

// Controls without an ID of their own
#define IDC_STATIC          (-1)

// Controls of the main form; its Quit button carries IDOK.
#define IDC_MACHINE_NAME    1000
#define IDC_MESSAGE         1001
#define IDC_SEND            1002
#define IDC_MACHINE_LABEL   1004
#define IDC_MESSAGE_LABEL   1005
#define IDC_CLEAR           1006
