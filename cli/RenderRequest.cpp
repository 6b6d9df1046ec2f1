#include "cli/RenderRequest.h"

#include "cli/Arguments.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

const char kRenderUsage[] =
    "usage: solvane-render --out FILE [--utc YYYY-MM-DDTHH:MM:SS] [--size WxH] "
    "[--viewpoint 0-7] [--flags HEX] [--lat DEG] [--lon DEG]";

namespace {

constexpr int kMaxSide = 16384;

bool ParseSize(const std::string& text, int* width, int* height) {
    int w = 0, h = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%5dx%5d%n", &w, &h, &consumed) != 2 ||
        consumed != int(text.size()) || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
        return false;
    }
    *width = w;
    *height = h;
    return true;
}

bool ParseFlags(const std::string& text, uint32_t* flags) {
    char* end = nullptr;
    errno = 0;
    const unsigned long v = std::strtoul(text.c_str(), &end, 16);
    if (text.empty() || *end != '\0' || errno != 0 || v > 0xFFF || text[0] == '-') return false;
    *flags = uint32_t(v);
    return true;
}

}  // namespace

bool ParseRenderArguments(const std::vector<std::string>& arguments, RenderRequest* request,
                          std::string* error) {
    RenderRequest r;
    const std::vector<OptionRule> rules = {
        UtcRule(&r.utc),
        LatitudeRule(&r.latitude),
        LongitudeRule(&r.longitude),
        {"--size", "a size as WxH, each from 1 to 16384",
         [&r](const std::string& value) { return ParseSize(value, &r.width, &r.height); }},
        {"--viewpoint", "a viewpoint from 0 to 7",
         [&r](const std::string& value) {
             if (value.size() != 1 || value[0] < '0' || value[0] > '7') return false;
             r.viewpoint = value[0] - '0';
             return true;
         }},
        {"--flags", "display flags in hexadecimal from 0 to FFF",
         [&r](const std::string& value) { return ParseFlags(value, &r.displayFlags); }},
        {"--out", "a file name",
         [&r](const std::string& value) {
             r.output = value;
             return !value.empty();
         }},
    };
    if (!ParseOptions(arguments, rules, error)) return false;
    if (r.output.empty()) {
        *error = "--out FILE is required";
        return false;
    }
    *request = r;
    return true;
}
