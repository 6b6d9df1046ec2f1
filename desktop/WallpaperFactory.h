// The wallpaper thread: sleeps on the wallpaper event and ends when the program quits.
#pragma once

// Thread entry point; `clockApp` is the ClockApp.
unsigned __stdcall WallpaperFactory(void* clockApp);
