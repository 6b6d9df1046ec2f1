// The command line of solvane-render.
#pragma once

#include "platform/CivilClock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct RenderRequest {
    std::optional<CivilTime> utc;  // absent: now
    int width = 800, height = 600;
    int viewpoint = 2;
    uint32_t displayFlags = 0x559;
    std::optional<double> latitude, longitude;  // degrees; absent: the home of user.bin
    std::string output;
};

extern const char kRenderUsage[];

bool ParseRenderArguments(const std::vector<std::string>& arguments, RenderRequest* request,
                          std::string* error);
