#include "astro/AstroConstants.h"

#include <cmath>

namespace astro {

double NormalizeRadians(double x) { return x - kTwoPi * std::floor(x / kTwoPi); }

}  // namespace astro
