// The converted DE405 file the tests read, opened once for the process.
#pragma once

#include "astro/Ephemeris.h"

#include <gtest/gtest.h>

#include <string>

inline bool OpenTestEphemeris() {
    static bool opened = EPHOPN(SOLVANE_TEST_CHEBY) != nullptr;
    return opened;
}

class WithEphemeris : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(OpenTestEphemeris()) << SOLVANE_TEST_CHEBY; }
};

// Angle between two vectors, arcseconds.
double AngleArcsec(const double a[3], const double b[3]);
