// The system's own words for a Win32 error code.
#pragma once

#include <string>

// The message for `error` in UTF-8, without its line break; "Error N" when the system has none.
std::string SystemErrorText(unsigned long error);
