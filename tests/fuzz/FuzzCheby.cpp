// The "cheby" reader on any file: the header is parsed, and a file it accepts is asked for
// every item at every record of its span, through state, pleph and GetStateVector. Refusing
// the file, or ending a request with one of the reader's fatal errors, is fine; a read out
// of bounds, undefined behaviour or a crash is not.
#include "FuzzSupport.h"

#include "astro/Ephemeris.h"
#include "astro/Fatal.h"

#include <cmath>

namespace {

// Every item the header lists, positions and velocities, at Julian date jd.
void ReadItems(const ChebyHeader& h, double jd) {
    int list[12] = {};
    for (int item = 0; item < 10; ++item) list[item] = h.items[item].coefficients != 0 ? 2 : 0;
    list[10] = h.items[kNutationItem].coefficients != 0 ? 2 : 0;
    list[11] = h.items[kLibrationItem].coefficients != 0 ? 2 : 0;
    const double et2[2] = {jd, 0};
    double pv[6][13], nut[4];
    try {
        state(et2, list, pv, nut);
    } catch (const FatalStop&) {
    }
}

// Every body number against a few centres, and the spherical form.
void ReadBodies(double jd) {
    for (int target = 1; target <= 15; ++target) {
        for (int centre : {kEarth, kMoon, kSun, kSolarSystemBarycentre}) {
            double rrd[6];
            int inside = -1;
            try {
                pleph(jd, target, centre, rrd, &inside);
                FUZZ_CHECK(inside == 0 || inside == 1);
            } catch (const FatalStop&) {
            }
        }
        double out[6];
        try {
            GetStateVector(jd, target, kEarth, 2, out);
        } catch (const FatalStop&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool hooked = (SetFatalHook(ThrowFatalStop), true);
    (void)hooked;
    CloseEphemeris();
    if (EPHOPN(MemoryFile(data, size).c_str()) == nullptr) return 0;
    const ChebyHeader h = *EphemerisHeader();
    FUZZ_CHECK(h.recordDoubles <= kMaxRecordDoubles);
    FUZZ_CHECK(h.headerBytes + h.recordCount * h.recordBytes <= long(size));
    // Each record of the span at its start and its middle, then the span's edges and dates
    // just outside it.
    const double records = std::ceil((h.lastDate - h.firstDate) / h.recordDays);
    FUZZ_CHECK(records <= double(h.recordCount));
    for (double k = 0; k < records; ++k) {
        ReadItems(h, h.firstDate + k * h.recordDays);
        ReadItems(h, h.firstDate + (k + 0.5) * h.recordDays);
    }
    ReadItems(h, h.lastDate);
    const double middle = h.firstDate + (h.lastDate - h.firstDate) / 2;
    for (double jd : {h.firstDate, middle, h.lastDate, h.firstDate - 0.5, h.lastDate + 0.5,
                      std::nan("")}) {
        ReadBodies(jd);
    }
    CloseEphemeris();
    return 0;
}
