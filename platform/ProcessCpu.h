// The processor time the current process has used.
#pragma once

// Kernel and user seconds of all the process's threads so far.
double ProcessCpuSeconds();
