// The screen saver's own resources.
#pragma once

#define IDS_SAVER_DESCRIPTION 1       // "Solvane": the saver's name in Windows' list
#define IDB_SAVER_PREVIEW 105         // 152 x 112, the display settings' preview
#define IDB_SAVER_MOON_SURFACE 116    // 64 x 64, the Moon's surface for its pictures
#define IDB_SAVER_SETTINGS_PICTURE 122  // 229 x 123, in the settings dialog
#define IDD_SAVER_SETTINGS 2003
#define IDC_SAVER_PICTURE 2006        // the settings picture, at its own size
#define IDC_SAVER_PICTURE_FRAME 2007  // the etched frame around it (edges only)
#define IDC_SAVER_SHOW_PLACES 2008    // the saver's own choice: the world places on its globe
#define IDS_SAVER_NO_CLOCK 2004
#define IDS_SAVER_NO_CLOCK_CAPTION 2005
