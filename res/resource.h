// Resource identifiers shared by the .rc script and the code.
#pragma once

// Bitmaps and cursors
#define IDB_SPLASH 102
#define IDB_PHASE_PICTURES 131  // 131..134: the phase pictures, new Moon to last quarter
#define IDC_DRAG 137            // the cursor of a globe drag
#define IDB_MOON_FACE 142       // the Moon sprite's face, also the full-moon icon
#define IDB_NEW_MOON_ICON 143
#define IDB_FIRST_QUARTER_ICON 144
#define IDB_LAST_QUARTER_ICON 145

// Strings
#define IDS_SOCKETS_FAILED 104
#define IDS_HIDDEN_WINDOW_TITLE 128
#define IDS_APP_NAME 129
#define IDS_OPTIONS_CORRUPT 1000
#define IDS_WARNING_CAPTION 1001
#define IDS_NO_EPHEMERIS 1002
#define IDS_NO_EPHEMERIS_CAPTION 1003
#define IDS_WALLPAPER_LEFT_TEXT 1004
#define IDS_WALLPAPER_RIGHT_TEXT 1005
#define IDS_RESTART_EARTH_WINDOW 1006
#define IDS_RESTART_CAPTION 1007
#define IDS_OPTIONS_NOT_SAVED 1008

// Private messages
#define WM_RESTART_EARTH_WINDOW 1801  // word parameter RESTART_EARTH_WINDOW_KEY
#define RESTART_EARTH_WINDOW_KEY 42

// Icons, menus, dialogs and their controls
#define IDI_SOLVANE 128
#define IDR_TRAY_MENU 103
#define IDR_FRAME_MENU 128
#define IDR_CONTEXT_MENU 148
#define IDD_FULL_SCREEN_NOTICE 136
#define IDD_TRAY_REMINDER 173
#define IDB_PANE_DECORATION 146
#define IDB_TRAY_REMINDER 172
#define IDC_DONT_TELL_AGAIN 1001

// Commands
#define ID_MOON_PHASES 32771
#define ID_HELP_PAGES 32772
#define ID_SET_CLOCK 32773
#define ID_VISIT_HOME_PAGE 32774
#define ID_EMAIL_SUGGESTION 32775
#define ID_GENERAL_SETTINGS 32776
#define ID_CLOCK_SETTINGS 32777
#define ID_HOME_LOCATION 32778
#define ID_CLOSE_MAIN_WINDOW 32779
#define ID_FULL_SCREEN 32780
#define ID_EARTH_CLOCK 32781
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
