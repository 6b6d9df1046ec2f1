// The large Earth images of the image library SVShared.dll, loaded when first asked for: from
// beside the program, or from the folder the program names (the screen saver, which runs from
// the system's folder, names the clock's).
#pragma once

#include <cstdint>
#include <string>

// The folder (ending in a backslash) to load the library from; empty: beside the program. The
// library there is code that runs in every user's session: it is loaded only when no one but
// the administrators can change it (ProgramFileIsTrusted); else every image is missing.
void SetSharedImagesFolder(const std::string& folder);

// The pixels of an image (see imagelib/SVShared.h), or null when the library or the image is
// missing. They stay valid for the rest of the run.
const unsigned char* LoadSharedImage(uint32_t image, int32_t* width, int32_t* height);
