// Sizes of the Earth, the Moon and the Sun as the NASA eclipse canons use them.
#pragma once

namespace eclipse {

constexpr double kEarthRadiusKm = 6378.137;           // equatorial (WGS 84)
constexpr double kFlattening = 1 / 298.257223563;     // WGS 84
constexpr double kSunRadiusKm = 695990.0;             // 959.63" at 1 AU
constexpr double kMoonPenumbralK = 0.2725076;         // Moon radius / Earth radius: penumbra
constexpr double kMoonUmbralK = 0.272281;             // and umbra (mean lower limb radius)
constexpr double kDanjonFactor = 1.01;                // lunar shadows: enlarged parallax

}  // namespace eclipse
