// The IAU 1980 theory of nutation: 106 periodic terms (Seidelmann 1982; Explanatory Supplement
// to the Astronomical Almanac, 1992, table 3.222.1), in the order of the published table.
#pragma once

#include <cstdint>

struct NutationTerm {
    double psi;       // A: longitude, sine coefficient, 0.0001"
    double psiRate;   // A': the same per Julian century
    double eps;       // B: obliquity, cosine coefficient, 0.0001"
    double epsRate;   // B': the same per Julian century
    int8_t multiple[5];  // multipliers of l, l', F, D, Omega
};

constexpr int kNutationTermCount = 106;
extern const NutationTerm kNutation1980[kNutationTermCount];
