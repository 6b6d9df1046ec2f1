// Reader of the JPL planetary and lunar ephemeris in the "cheby" file: positions and
// velocities by Chebyshev interpolation (after the published JPL reader routines).
#pragma once

#include "astro/ChebyHeader.h"

#include <cstdio>
#include <memory>
#include <string>

// Body numbers of pleph and GetStateVector.
enum Body {
    kMercury = 1, kVenus, kEarth, kMars, kJupiter, kSaturn, kUranus, kNeptune, kPluto,
    kMoon = 10, kSun = 11, kSolarSystemBarycentre = 12, kEarthMoonBarycentre = 13,
    kNutations = 14, kLibrations = 15,
};

// One open ephemeris file with its own record and polynomial caches. Not copyable; one thread
// at a time. The free functions below work on the program's one instance; a thread that must
// not share that instance (the eclipse search) opens its own.
class EphemerisReader {
public:
    EphemerisReader();
    ~EphemerisReader();
    EphemerisReader(const EphemerisReader&) = delete;
    EphemerisReader& operator=(const EphemerisReader&) = delete;

    // Opens the file and parses its header; false with a message in `error` (when given).
    // Closes the file open before.
    bool open(const std::string& path, std::string* error);
    void close();
    bool isOpen() const;
    FILE* file() const { return file_; }
    const std::string& path() const;   // "" when not open
    const ChebyHeader& header() const;  // valid while open
    bool covers(double jd) const;
    // State of `target` relative to `centre`, as pleph (AU, AU/day); false when not covered.
    bool body(double jd, int target, int centre, double rrd[6]);
    // As the free function `state` below.
    void state(const double et2[2], const int list[12], double pv[6][13], double nut[4]);

private:
    struct Caches;
    std::unique_ptr<Caches> caches_;
    FILE* file_ = nullptr;
    bool barycentric_ = false;
};

// The file the program's reader opened ("" if none).
const std::string& EphemerisPath();

// Opens the file and parses its header; returns the open file, or null with a message on the
// standard error stream. Returns the already open file when there is one. An empty (or null)
// name opens "JPLEPH"; the name is only read.
FILE* EPHOPN(const char* name);

// The header of the open file, or null.
const ChebyHeader* EphemerisHeader();

// States of the items asked for in `list` at Julian date et2[0] + et2[1]: list[0..9] bodies
// (0 none, 1 position, 2 position and velocity), list[10] nutations, list[11] librations.
// pv[component][item], heliocentric unless barycentric output is set; nutations go to `nut`.
void state(const double et2[2], const int list[12], double pv[6][13], double nut[4]);

// State of `target` relative to `centre` (AU and AU per day; nutations and librations in
// radians). `inside` is 1 when jd lies in the file's dates, else 0 and nothing is computed.
void pleph(double jd, int target, int centre, double rrd[6], int* inside);

// pleph that ends the process when jd is not covered. form 1 rectangular, 2 spherical
// (right ascension, declination, distance and their rates).
void GetStateVector(double jd, int target, int centre, int form, double out[6]);

// pleph, ignoring whether jd is covered.
void PlanetState(double jd, int target, int centre, double rrd[6]);

// Closes the file if it is open.
void CloseEphemeris();
