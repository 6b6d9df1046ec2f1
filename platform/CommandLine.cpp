#include "platform/CommandLine.h"

#include <cctype>
#include <sstream>
#include <string>

namespace {

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return i == a.size() && b[i] == '\0';
}

}  // namespace

bool CommandLineShowsSplash(const char* commandLine) {
    std::istringstream words(commandLine != nullptr ? commandLine : "");
    std::string word;
    while (words >> word) {
        if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) continue;
        const std::string flag = word.substr(1);
        if (EqualsIgnoringCase(flag, "Embedding") || EqualsIgnoringCase(flag, "Automation")) {
            return false;
        }
    }
    return true;
}
