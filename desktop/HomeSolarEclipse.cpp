#include "desktop/HomeSolarEclipse.h"

#include "app/Formatting.h"
#include "astro/Eclipses.h"

#include <algorithm>
#include <cmath>

int SolarEclipsePercent(const SolarCover& cover) {
    if (!cover.sunUp || !(cover.obscuration > 0)) return 0;
    return std::clamp(int(std::lround(cover.obscuration * 100)), 1, 100);
}

std::string HomeSolarEclipseNote(const std::string& format, double utcJd, double latitudeDeg, double longitudeDeg) {
    const EclipseSky sky = EclipseSkyAt(utcJd);
    if (!SolarEclipseOnEarth(sky)) return {};
    const int percent = SolarEclipsePercent(SolarCoverAt(sky, latitudeDeg, longitudeDeg));
    if (percent == 0) return {};
    return Printf(format.c_str(), std::to_string(percent).c_str());
}
