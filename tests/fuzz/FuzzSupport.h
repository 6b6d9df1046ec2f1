// What the libFuzzer harnesses share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

// Thrown by the reader's fatal errors in place of ending the process (see SetFatalHook).
struct FatalStop {};
[[noreturn]] inline void ThrowFatalStop() { throw FatalStop(); }

// A command line from fuzz bytes: arguments separated by NUL bytes, so that an argument may
// hold any other byte, newlines included.
inline std::vector<std::string> ArgumentsOf(const uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\0') {
            arguments.push_back(current);
            current.clear();
        } else {
            current += char(data[i]);
        }
    }
    if (!current.empty()) arguments.push_back(current);
    return arguments;
}

// An invariant of the code under test; a broken one aborts, which libFuzzer reports as a
// crash with the input that caused it.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// A command-line parser's verdict: a refusal gives its reason on one line, an acceptance
// gives none. True when the arguments were accepted.
inline bool Accepted(bool parsed, const std::string& error) {
    if (parsed) {
        FUZZ_CHECK(error.empty());
    } else {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(error.find('\n') == std::string::npos && error.find('\r') == std::string::npos);
    }
    return parsed;
}

// The input as a file the reader can open by name, kept in memory.
inline std::string MemoryFile(const uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("fuzz-input", 0);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(ftruncate(fd, 0) == 0);
    FUZZ_CHECK(pwrite(fd, data, size, 0) == ssize_t(size));
    return "/proc/self/fd/" + std::to_string(fd);
}
