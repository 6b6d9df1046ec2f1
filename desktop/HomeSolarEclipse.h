// How much of the Sun the Moon hides at home now, as the details pane and the tray icon's tip
// tell it during a solar eclipse.
#pragma once

#include "astro/EclipseGeometry.h"

#include <string>

// The share of the Sun hidden at a site, in whole per cent (at least 1 while any is hidden);
// 0 outside the Moon's penumbra, and with the Sun down (the Earth itself shades the site).
int SolarEclipsePercent(const SolarCover& cover);

// The note for home at `utcJd` ("Solar eclipse NN%": `format` with the per cent for its %s),
// from the program's ephemeris (the caller holds the engine lock); empty outside the Moon's
// penumbra. Cheap while its shadow is nowhere on the Earth.
std::string HomeSolarEclipseNote(const std::string& format, double utcJd, double latitudeDeg, double longitudeDeg);
