// The program's help pages, in the "help" folder beside it, opened with the shell.
#pragma once

// Opens `relativePath` (such as "\help\general.htm") beside the program.
void OpenHelpPage(const char* relativePath, int show);
