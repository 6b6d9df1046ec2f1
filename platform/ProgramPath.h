// The full path of the running program's file, in UTF-8.
#pragma once

#include <string>

std::string ProgramPath();
