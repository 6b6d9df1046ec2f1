// How much of the Sun the Moon hides at home now, as the details pane and the tray icon's tip
// tell it during a solar eclipse.
#pragma once

#include "astro/EclipseGeometry.h"

// The share of the Sun hidden at a site, in whole per cent (at least 1 while any is hidden);
// 0 outside the Moon's penumbra, and with the Sun down (the Earth itself shades the site).
int SolarEclipsePercent(const SolarCover& cover);

// The same at home at `utcJd`, from the program's ephemeris (the caller holds the engine lock);
// cheap while the Moon's shadow is nowhere on the Earth.
int HomeSolarEclipsePercent(double utcJd, double latitudeDeg, double longitudeDeg);
