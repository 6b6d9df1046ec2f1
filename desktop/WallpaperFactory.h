// The wallpaper thread: each time it is woken it renders the Earth of the moment, with the
// Moon's phases in the corners, into "Solvane.bmp" beside the program and makes that the
// desktop wallpaper. It ends when woken after the program asked it to quit.
#pragma once

// Thread entry point; `clockApp` is the ClockApp.
unsigned __stdcall WallpaperFactory(void* clockApp);
