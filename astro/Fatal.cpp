#include "astro/Fatal.h"

#include <cstdarg>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

namespace {

FatalHook fatalHook = nullptr;

// A program without a console has no standard error stream to write to.
bool CanWrite(FILE* stream) {
#ifdef _WIN32
    return _fileno(stream) >= 0 && _get_osfhandle(_fileno(stream)) != -1 &&
           _get_osfhandle(_fileno(stream)) != -2;
#else
    (void)stream;
    return true;
#endif
}

}  // namespace

void LogMessage(FILE* stream, const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
#ifdef _WIN32
    OutputDebugStringA(buffer);
#endif
    if (!CanWrite(stream)) return;
    std::fprintf(stream, "%s", buffer);
    std::fflush(stream);
}

void SetFatalHook(FatalHook hook) { fatalHook = hook; }

void FatalError(int number, const char* text) {
    LogMessage(stderr, "\nERROR #%d %s\n", number, text);
    if (fatalHook != nullptr) fatalHook();
    std::exit(1);
}

void FatalMessage(const char* text) {
    LogMessage(stderr, "%s", text);
    if (fatalHook != nullptr) fatalHook();
    std::exit(1);
}
