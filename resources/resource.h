// resources/resource.h: every resource and control ID of the program, named once.
#pragma once

// Dialogs
#define IDD_ABOUTBOX        100
#define IDD_SEND            102

// Icons
#define IDI_MIROLT          128

// Controls of the main form; its Quit button carries IDOK.
#define IDC_MACHINE_NAME    1000
#define IDC_MESSAGE         1001
#define IDC_SEND            1002
#define IDC_MACHINE_LABEL   1004
#define IDC_MESSAGE_LABEL   1005
#define IDC_CLEAR           1006
