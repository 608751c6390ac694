#pragma once
// Resource numbers, shared by the resource script and the code.
#define IDR_MAIN 1000        /* icon, main dialog, menu and accelerator table */
#define IDC_TEXT 101         /* the static control that shows the entry */
#define IDD_ABOUT 201
#define IDD_TIMER 202
#define IDD_NUMBER 203

/* Controls of the three small dialogs. */
#define IDC_LABEL 301        /* the timer and number dialogs' label; the About box's first two lines */
#define IDC_NUMBER 302       /* the number dialog's field */
#define IDC_FREEWARE 304     /* the About box's three translated lines */
#define IDC_DONATIONS 305
#define IDC_LANGUAGE 306
#define IDC_HOURS 311        /* the timer dialog's four fields, in this order */
#define IDC_MINUTES 312
#define IDC_SECONDS 313
#define IDC_MILLISECONDS 314
