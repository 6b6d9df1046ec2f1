// The standard command-line flags a Windows application honours.
#pragma once

// False when the program was started for automation or embedding ("/Embedding",
// "-Automation", ...), where no splash window should appear; true otherwise.
bool CommandLineShowsSplash(const char* commandLine);
