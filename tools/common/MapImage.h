// Map images for the host art tools: a JPEG or PNG read into a Picture with stb_image, and
// bilinear sampling of an equirectangular map by longitude and latitude. The tool that
// includes this defines STB_IMAGE_IMPLEMENTATION once.
#pragma once

#include "tools/common/Picture.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

// The image at `path`, or an empty picture when it cannot be read.
inline Picture LoadPicture(const std::string& path) {
    int w, h, n;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &n, 3);
    if (data == nullptr) return Picture(0, 0);
    Picture p(w, h);
    for (std::size_t i = 0; i < p.rgb.size(); ++i) p.rgb[i] = data[i];
    stbi_image_free(data);
    return p;
}

// Bilinear sample of an equirectangular map at longitude and latitude (radians); longitude
// -180 at the left edge, north at the top.
inline void SampleMap(const Picture& map, double lon, double lat, float out[3]) {
    constexpr double kPi = 3.14159265358979323846;
    double u = (lon / (2 * kPi) + 0.5) * map.width - 0.5;
    double v = (0.5 - lat / kPi) * map.height - 0.5;
    u -= map.width * std::floor(u / map.width);
    v = std::clamp(v, 0.0, map.height - 1.0);
    const int x0 = int(u), y0 = int(v);
    const int x1 = (x0 + 1) % map.width, y1 = std::min(y0 + 1, map.height - 1);
    const double fx = u - x0, fy = v - y0;
    for (int k = 0; k < 3; ++k) {
        const double top = map.at(x0, y0)[k] * (1 - fx) + map.at(x1, y0)[k] * fx;
        const double bottom = map.at(x0, y1)[k] * (1 - fx) + map.at(x1, y1)[k] * fx;
        out[k] = float(top * (1 - fy) + bottom * fy);
    }
}
