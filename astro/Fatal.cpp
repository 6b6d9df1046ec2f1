#include "astro/Fatal.h"

#include <cstdarg>
#include <cstdlib>

void LogMessage(FILE* stream, const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    std::fprintf(stream, "%s", buffer);
    std::fflush(stream);
}

void FatalError(int number, const char* text) {
    LogMessage(stderr, "\nERROR #%d %s\n", number, text);
    std::exit(1);
}

void FatalMessage(const char* text) {
    LogMessage(stderr, "%s", text);
    std::exit(1);
}
