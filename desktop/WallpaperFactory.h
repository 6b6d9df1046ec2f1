// The wallpaper thread: each time it is woken it renders the Earth of the moment, with the
// Moon's phases in the corners, for each monitor (or once for the whole desktop) into the
// user's picture folder and makes those the desktop's wallpaper; woken with the generator off,
// it gives the user's wallpaper placement back. It ends when woken after the program asked it
// to quit.
#pragma once

// Thread entry point; `clockApp` is the ClockApp.
unsigned __stdcall WallpaperFactory(void* clockApp);
