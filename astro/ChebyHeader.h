// The header of the "cheby" ephemeris file: titles, constants, date range and the layout of
// the Chebyshev coefficients in each record.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Items of a record: 0..8 Mercury to Pluto (2 is the Earth-Moon barycentre), 9 the geocentric
// Moon, 10 the Sun, 11 nutations, 12 librations.
constexpr int kItemCount = 13;
constexpr int kNutationItem = 11;
constexpr int kLibrationItem = 12;

// Limits of the reader's buffers; a header beyond them is refused.
constexpr int kMaxRecordDoubles = 1100;
constexpr int kMaxCoefficients = 15;
constexpr int kMaxSubintervals = 8;

struct ItemLayout {
    int16_t offset;        // 1-based index of the item's first coefficient in a record
    int16_t coefficients;  // per component; 0 when the item is absent
    int16_t subintervals;  // per record
};

struct ChebyHeader {
    char titles[3][65] = {};
    int16_t constantCount = 0;
    std::vector<std::array<char, 7>> constantNames;
    std::vector<double> constantValues;
    double firstDate = 0;
    double lastDate = 0;
    double recordDays = 0;
    double au = 0;     // kilometres per astronomical unit
    double emrat = 0;  // Earth/Moon mass ratio
    ItemLayout items[kItemCount] = {};
    int16_t deNumber = 0;
    long headerBytes = 0;
    int recordDoubles = 0;  // NCOEFF
    long recordBytes = 0;
    long recordCount = 0;
};

// Components of an item: 3 for bodies and librations, 2 for nutations.
int ItemComponents(int item);

// Byte size of a header with `constantCount` constants.
long ChebyHeaderBytes(long constantCount);

// Reads the header from the start of `file` and checks that every record it describes lies
// within the file and within the reader's buffers. On failure `error` says why.
bool ReadChebyHeader(FILE* file, ChebyHeader* header, std::string* error);
