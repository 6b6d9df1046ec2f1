// Constants shared by the astronomy routines.
#pragma once

namespace astro {

constexpr double kJ2000 = 2451545.0;                         // Julian date of J2000.0
constexpr double kCenturiesPerDay = 2.7378507871321012e-05;  // 1 / 36525
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kArcsecToRad = 4.84813681109536e-06;
constexpr double kRadToArcsec = 206264.80624709636;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr double kHourToRad = 0.2617993877991494;            // pi / 12
constexpr double kArcsecPerCenturyToRadPerDay = 1.3273475184381545e-10;
constexpr double kLightDaysPerAu = 0.005775518329892718;     // light time of one AU, days
constexpr double kSunGravityTerm = 1.9741257423219645e-8;   // 2 mu / c^2 of the Sun, AU

// x reduced into [0, 2 pi).
double NormalizeRadians(double x);

}  // namespace astro
