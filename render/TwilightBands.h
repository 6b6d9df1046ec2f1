// The twilight bands on the night side: how much of the day map shows where the Sun is a given
// depth below the geometric horizon, in three steps (civil, nautical, astronomical twilight)
// before full night.
#pragma once

// Where the bands give way to the day side and to full night, in degrees of the Sun's
// depression: outside them the level is 0.
constexpr double kTwilightBandsFrom = -0.4;
constexpr double kTwilightBandsTo = 18.4;

// The day map's brightness (0 to 1) the bands give where the Sun is `depressionDegrees` below
// the geometric horizon: one level from 0 to 6 degrees, a lower one to 12, a lower one to 18,
// each giving way to the next over 0.8 degrees about its edge; 0 on the day side, in full night
// and for NaN, where the terminator's own shading holds. The night side shows the brighter of
// this and the terminator's shade.
float TwilightBandLevel(double depressionDegrees);
