#include "desktop/HomeSolarEclipse.h"

#include "render/SolarEclipseShadow.h"

#include <algorithm>
#include <cmath>

int SolarEclipsePercent(const SolarCover& cover) {
    if (!cover.sunUp || !(cover.obscuration > 0)) return 0;
    return std::clamp(int(std::lround(cover.obscuration * 100)), 1, 100);
}

int HomeSolarEclipsePercent(double utcJd, double latitudeDeg, double longitudeDeg) {
    const EclipseSky sky = EclipseSkyAt(utcJd);
    if (!SolarEclipseOnEarth(sky)) return 0;
    return SolarEclipsePercent(SolarCoverAt(sky, latitudeDeg, longitudeDeg));
}
