// The states and territories of the United States places database: the row number of the
// table is the state index stored in each record of "USPlaces.bin".
#pragma once

struct USState {
    char abbreviation[3];  // two-letter postal code and NUL
    char name[32];         // shown in the state list, NUL-padded
};

constexpr int kUSStateCount = 57;

// The 57 rows: the 50 states and the District of Columbia in alphabetical order (index 0 to
// 50), then American Samoa, Guam, the Northern Marianas,
// Palau, Puerto Rico and the Virgin Islands (51 to 56).
extern const USState kUSStates[kUSStateCount];

// The row whose postal code is `abbreviation` (two upper-case letters), or -1 for none.
int USStateIndex(const char* abbreviation);
