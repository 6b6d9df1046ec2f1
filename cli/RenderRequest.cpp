#include "cli/RenderRequest.h"

#include "cli/AlmanacRequest.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

const char kRenderUsage[] =
    "usage: solvane-render --out FILE [--utc YYYY-MM-DDTHH:MM:SS] [--size WxH] "
    "[--viewpoint 0-7] [--flags HEX] [--lat DEG] [--lon DEG]";

namespace {

bool ParseDegrees(const std::string& text, double limit, double* value) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(v) || std::fabs(v) > limit) {
        return false;
    }
    *value = v;
    return true;
}

bool ParseSize(const std::string& text, int* width, int* height) {
    int w = 0, h = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%5dx%5d%n", &w, &h, &consumed) != 2 ||
        consumed != int(text.size()) || w < 1 || h < 1 || w > 16384 || h > 16384) {
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
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (i + 1 >= arguments.size()) {
            *error = option.rfind("--", 0) == 0 ? option + " needs a value" : "unexpected '" + option + "'";
            return false;
        }
        const std::string& value = arguments[++i];
        double number = 0;
        bool ok = true;
        if (option == "--utc") {
            CivilTime t;
            ok = ParseUtc(value, &t);
            if (ok) r.utc = t;
        } else if (option == "--size") {
            ok = ParseSize(value, &r.width, &r.height);
        } else if (option == "--viewpoint") {
            ok = value.size() == 1 && value[0] >= '0' && value[0] <= '7';
            if (ok) r.viewpoint = value[0] - '0';
        } else if (option == "--flags") {
            ok = ParseFlags(value, &r.displayFlags);
        } else if (option == "--lat") {
            ok = ParseDegrees(value, 90, &number);
            if (ok) r.latitude = number;
        } else if (option == "--lon") {
            ok = ParseDegrees(value, 180, &number);
            if (ok) r.longitude = number;
        } else if (option == "--out") {
            ok = !value.empty();
            r.output = value;
        } else {
            *error = "unknown option '" + option + "'";
            return false;
        }
        if (!ok) {
            *error = "bad value '" + value + "' for " + option;
            return false;
        }
    }
    if (r.output.empty()) {
        *error = "--out FILE is required";
        return false;
    }
    *request = r;
    return true;
}
