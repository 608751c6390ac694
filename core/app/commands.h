#pragma once
// Command numbers (menu items and accelerator keys), the program's own window messages and the
// slideshow timer. Shared by the resource script and the code, so plain defines.

#define CMD_SLIDESHOW 1001
#define CMD_HIDE 1002
#define CMD_RANDOM 1003
#define CMD_PLAY_SOUND 1004
#define CMD_SLIDE_TIME 1011
#define CMD_HIDE_TIME 1012
#define CMD_COUNTDOWN 1013
#define CMD_STATUS_IN_CAPTION 1014
#define CMD_NEXT 1021
#define CMD_PREVIOUS 1022
#define CMD_FIRST 1023
#define CMD_LAST 1024
#define CMD_SLIDE_NEXT 1025
#define CMD_SLIDE_PREVIOUS 1026
#define CMD_RANDOM_ENTRY 1027
#define CMD_MULTILINE 1031
#define CMD_CAPTION 1032
#define CMD_TRANSPARENT 1033
#define CMD_BACKGROUND 1034
#define CMD_FIT_FONT 1041
#define CMD_FIT_WIDTH 1042
#define CMD_FIT_GRAPHIC 1043
#define CMD_JUSTIFY_CENTER 1051
#define CMD_JUSTIFY_LEFT 1052
#define CMD_JUSTIFY_RIGHT 1053
#define CMD_DOCK_TOP 1061
#define CMD_DOCK_BOTTOM 1062
#define CMD_DOCK_CENTER 1063
#define CMD_BLACKBOX_SHELL 1064
#define CMD_RAISE_CAPTION 1065
#define CMD_LENGTHEN_WINDOW 1066
#define CMD_DRAGGABLE 1071
#define CMD_TRAY_ICON 1072
#define CMD_STAY_ON_TOP 1073
#define CMD_OPEN_FILE 1081
#define CMD_FONT 1082
#define CMD_TEXT_COLOUR 1083
#define CMD_BACKGROUND_COLOUR 1084
#define CMD_BACKGROUND_IMAGE 1085
#define CMD_SOUND_FILE 1086
#define CMD_SAVE_NOW 1091
#define CMD_SAVE_AS 1092
#define CMD_SAVE_ON_EXIT 1093
#define CMD_SAVE_FILE 1094
#define CMD_BOOKMARK 1095
#define CMD_MENU 1101
#define CMD_MENU_AT_CURSOR 1102
#define CMD_HELP 1103
#define CMD_ABOUT 1104
#define CMD_EXIT 1105
/* Beyond the original program, off until chosen: */
#define CMD_UTF8_TEXT 1201
#define CMD_SHUFFLE 1202
#define CMD_RELOAD_WHEN_CHANGED 1203
#define CMD_REVEAL 1204
#define CMD_PAUSE_ON_HOVER 1205
#define CMD_COPY_ENTRY 1206
#define CMD_QUIET_FULL_SCREEN 1207
#define CMD_START_WITH_WINDOWS 1208
#define CMD_SHOW_BACK 1209     /* the rest of a flash card at once */
#define CMD_PIN 2000
#define CMD_PIN_TIMERS 2006
#define CMD_PIN_NAVIGATE 2007
#define CMD_PIN_JUSTIFY 2017
#define CMD_PIN_DOCK 2018
#define CMD_PIN_WINDOW 2019
#define CMD_PIN_SETTINGS 2028
#define CMD_PIN_INFO 2029
#define CMD_PIN_BLACKBOX 3007
#define CMD_PIN_LEVEL3 3000    /* + a level-3 submenu's position in its parent: that submenu's Pin */

#define MSG_TRAY_NOTIFY 1025   /* WM_USER + 1: the tray icon's callback */
#define MSG_SHOW_MENU 1027     /* WM_USER + 3: show (a pinned part of) the popup menu again */
#define MSG_PICTURE_READY 1028 /* WM_USER + 4: a background picture decoded on a worker thread is ready */
