// The program's own 24-bit bitmap resources as pixels and textures.
#pragma once

// Pixels (bottom-up rows, blue-green-red) of a bitmap resource of the program, or null when it
// is missing. They belong to the loaded program and are never freed.
const unsigned char* loadResourceBitmap(int id, int* width, int* height);

// Exchanges the first and third byte of every 3-byte pixel.
void swapRedBlue(unsigned char* pixels, int width, int height);

// The bitmap resource of the Moon's surface that the Moon's pictures are made from: the
// clock's IDB_MOON_FACE unless the program (the screen saver) names its own.
int MoonSurfaceBitmap();
void SetMoonSurfaceBitmap(int id);

// Uploads a bitmap resource into the bound texture with the given filter and wrap.
bool textureFromResource(int id, int filter, int wrap);
