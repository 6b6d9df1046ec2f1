// The almanac's eclipses: the next ones from an instant, seen from home.
#pragma once

#include "astro/Eclipses.h"

#include <string>
#include <vector>

// The first `count` eclipses whose greatest eclipse is at or after `fromUtcJd`, from the
// ephemeris file `chebyPath` (fewer where the file ends; `fileEndJd` is its last day). False
// with `error` when the file cannot be read.
bool NextEclipses(const std::string& chebyPath, double fromUtcJd, int count,
                  const EclipseHome& home, std::vector<Eclipse>* eclipses, double* fileEndJd,
                  std::string* error);

// "2024-04-08T18:17:20Z": the instant rounded to the second.
std::string IsoUtcTime(double utcJd);
