#pragma once
// Resource numbers, shared by the resource script and the code.
#define IDR_MAIN 1000        /* icon, main dialog, menu and accelerator table */
#define IDC_TEXT 101         /* the static control that shows the entry */
#define IDD_ABOUT 201
#define IDD_TIMER 202
#define IDD_NUMBER 203
