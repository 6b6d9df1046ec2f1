// Resource identifiers shared by the .rc script and the code.
#pragma once

// Bitmaps
#define IDB_SPLASH 102

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

// Commands
#define ID_EARTH_CLOCK 32781
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
