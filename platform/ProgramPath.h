// The full path of the running program's file.
#pragma once

#include <string>

std::string ProgramPath();
