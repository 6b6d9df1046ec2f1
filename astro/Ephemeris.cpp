#include "astro/Ephemeris.h"

#include "astro/AstroConstants.h"
#include "astro/Fatal.h"
#include "platform/FileAccess.h"

#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

// Chebyshev polynomials and their derivatives at the last local time.
struct Polynomials {
    double tc = 2;  // an impossible local time: the first call computes
    int positions = 2;
    int velocities = 3;
    double p[18] = {1, 2};
    double v[18] = {0, 1, 4};
    double twoTc = 0;
};

// Splits x into a whole number and a fraction in [0, 1).
void Split(double x, double* whole, double* fraction) {
    *whole = std::floor(x);
    *fraction = x - *whole;
}

// Interpolates one item: `count` components at normalised record time t in [0, 1].
void Interpolate(Polynomials& polys, const double* a, double t, double span, int n, int count,
                 int subintervals, int velocity, double* out) {
    const double dt1 = std::floor(t);
    const double temp = subintervals * t;
    int l = static_cast<int>(temp - dt1);
    if (l < 0) l = 0;
    if (l >= subintervals) l = subintervals - 1;
    const double tc = 2.0 * (std::fmod(temp, 1.0) + dt1) - 1.0;
    if (tc != polys.tc) {
        polys.tc = tc;
        polys.positions = 2;
        polys.velocities = 3;
        polys.p[1] = tc;
        polys.twoTc = tc + tc;
        polys.v[2] = 2 * polys.twoTc;
    }
    for (; polys.positions < n; ++polys.positions) {
        int i = polys.positions;
        polys.p[i] = polys.twoTc * polys.p[i - 1] - polys.p[i - 2];
    }
    const double* c = a + l * count * n;
    for (int i = 0; i < count; ++i) {
        double sum = 0;
        for (int j = n - 1; j >= 0; --j) sum += polys.p[j] * c[i * n + j];
        out[i] = sum;
    }
    if (velocity < 2) return;
    for (; polys.velocities < n; ++polys.velocities) {
        int i = polys.velocities;
        polys.v[i] = polys.twoTc * polys.v[i - 1] + polys.p[i - 1] + polys.p[i - 1] - polys.v[i - 2];
    }
    const double scale = 2.0 * subintervals / span;
    for (int i = 0; i < count; ++i) {
        double sum = 0;
        for (int j = n - 1; j >= 1; --j) sum += polys.v[j] * c[i * n + j];
        out[count + i] = sum * scale;
    }
}

}  // namespace

// What a reader keeps between calls: the header, the record last read and the polynomials of
// the last local time.
struct EphemerisReader::Caches {
    ChebyHeader header;
    std::string path;
    long recordOffset = -1;  // byte offset of the record in `coefficients`
    double coefficients[kMaxRecordDoubles] = {};
    double sunBarycentric[6] = {};
    Polynomials polys;

    void readRecord(FILE* file, long offset) {
        if (offset == recordOffset) return;
        if (std::fseek(file, offset, SEEK_SET) != 0) FatalMessage("state: fseek() failed.\n");
        for (int i = 0; i < header.recordDoubles; ++i) {
            uint8_t b[8];
            if (std::fread(b, 1, 8, file) != 8) break;
            uint64_t bits = 0;
            for (int k = 7; k >= 0; --k) bits = (bits << 8) | b[k];
            std::memcpy(&coefficients[i], &bits, 8);
        }
        recordOffset = offset;
    }

    // One item's state at record time t (3 or 2 components; velocities when `velocity` is 2).
    void itemState(int item, double t, int velocity, double* out) {
        const ItemLayout& layout = header.items[item];
        if (layout.coefficients == 0) FatalError(item, "th body requested - not on file.\n");
        Interpolate(polys, coefficients + layout.offset - 1, t, header.recordDays,
                    layout.coefficients, ItemComponents(item), layout.subintervals, velocity, out);
    }

    // Reads the record holding the request and returns the time in it; fatal when not covered.
    double prepareRecord(FILE* file, const double et2[2]) {
        const ChebyHeader& h = header;
        double whole1, fraction1, whole2, fraction2, carry, fraction;
        Split(et2[0] - 0.5, &whole1, &fraction1);
        Split(et2[1], &whole2, &fraction2);
        double whole = whole1 + whole2 + 0.5;
        Split(fraction1 + fraction2, &carry, &fraction);
        whole += carry;
        if (!(whole >= h.firstDate && whole + fraction <= h.lastDate)) {  // NaN too
            FatalMessage("state: epoch out of range.\n");
        }
        long index = static_cast<long>(std::floor((whole - h.firstDate) / h.recordDays));
        if (whole == h.lastDate) --index;
        const long offset = index * h.recordBytes + h.headerBytes;
        if (offset < 1) FatalMessage("state: block not present.\n");
        readRecord(file, offset);
        double t = (whole - (h.firstDate + index * h.recordDays) + fraction) / h.recordDays;
        if (t < 0) t += 1;
        return t;
    }
};

EphemerisReader::EphemerisReader() : caches_(std::make_unique<Caches>()) {}

EphemerisReader::~EphemerisReader() { close(); }

bool EphemerisReader::open(const std::string& path, std::string* error) {
    close();
    FILE* file = OpenFileForReading(path.c_str());
    if (file == nullptr) {
        if (error) *error = std::string("Can't open binary data file: ") + std::strerror(errno);
        return false;
    }
    std::string message;
    if (!ReadChebyHeader(file, &caches_->header, &message)) {
        if (error) *error = message;
        std::fclose(file);
        caches_ = std::make_unique<Caches>();
        return false;
    }
    file_ = file;
    caches_->path = path;
    return true;
}

void EphemerisReader::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    barycentric_ = false;
    caches_ = std::make_unique<Caches>();
}

bool EphemerisReader::isOpen() const { return file_ != nullptr; }

const ChebyHeader& EphemerisReader::header() const { return caches_->header; }

const std::string& EphemerisReader::path() const { return caches_->path; }

bool EphemerisReader::covers(double jd) const {
    return file_ != nullptr && jd >= caches_->header.firstDate && jd <= caches_->header.lastDate;
}

void EphemerisReader::state(const double et2[2], const int list[12], double pv[6][13],
                            double nut[4]) {
    Caches& c = *caches_;
    const double t = c.prepareRecord(file_, et2);
    const double toAu = 1.0 / c.header.au;
    c.itemState(10, t, 2, c.sunBarycentric);
    for (double& x : c.sunBarycentric) x *= toAu;
    for (int item = 0; item < 10; ++item) {
        if (list[item] == 0) continue;
        double s[6];
        c.itemState(item, t, list[item], s);
        for (int k = 0; k < list[item] * 3; ++k) {
            double value = s[k] * toAu;
            if (item <= 8 && !barycentric_) value -= c.sunBarycentric[k];
            pv[k][item] = value;
        }
    }
    if (list[10] > 0) {
        double n[4];
        c.itemState(kNutationItem, t, list[10], n);
        for (int k = 0; k < list[10] * 2; ++k) nut[k] = n[k];
    }
    if (list[11] > 0) {
        double lib[6];
        c.itemState(kLibrationItem, t, list[11], lib);
        for (int k = 0; k < list[11] * 3; ++k) pv[k][10] = lib[k];
    }
}

namespace {

// Barycentric state of one body number of pleph (1..13), from the items evaluated.
void BodyState(int body, double pv[6][13], const double earth[6], const double moon[6],
               const double sun[6], double out[6]) {
    for (int k = 0; k < 6; ++k) {
        switch (body) {
        case kEarth: out[k] = earth[k]; break;
        case kMoon: out[k] = moon[k]; break;
        case kSun: out[k] = sun[k]; break;
        case kSolarSystemBarycentre: out[k] = 0; break;
        case kEarthMoonBarycentre: out[k] = pv[k][2]; break;
        default: out[k] = pv[k][body - 1]; break;
        }
    }
}

}  // namespace

bool EphemerisReader::body(double jd, int target, int centre, double rrd[6]) {
    for (int k = 0; k < 6; ++k) rrd[k] = 0;
    if (target < 1 || target > 15 || centre < 1 || centre > 15 || !covers(jd)) return false;
    const ChebyHeader& h = caches_->header;
    const double et2[2] = {jd, 0};
    double pv[6][13] = {};
    double nut[4] = {};
    int list[12] = {};
    if (target == kNutations || target == kLibrations) {
        const bool nutations = target == kNutations;
        if (h.items[nutations ? kNutationItem : kLibrationItem].coefficients == 0) {
            FatalMessage(nutations ? "pleph: no nutations on the ephemeris file."
                                   : "pleph: no librations on the ephemeris file.");
        }
        list[nutations ? 10 : 11] = 2;
        state(et2, list, pv, nut);
        for (int k = 0; k < (nutations ? 4 : 6); ++k) rrd[k] = nutations ? nut[k] : pv[k][10];
        return true;
    }
    if (target == centre) return true;

    for (int body : {target, centre}) {
        if (body <= 10) list[body - 1] = 2;
        if (body == kEarth || body == kMoon || body == kEarthMoonBarycentre) list[2] = list[9] = 2;
    }
    barycentric_ = true;
    state(et2, list, pv, nut);
    barycentric_ = false;

    double earth[6], moon[6];
    const double earthFactor = 1.0 / (1.0 + h.emrat), moonFactor = h.emrat / (1.0 + h.emrat);
    for (int k = 0; k < 6; ++k) {
        earth[k] = pv[k][2] - pv[k][9] * earthFactor;
        moon[k] = pv[k][2] + pv[k][9] * moonFactor;
    }
    if ((target == kMoon && centre == kEarth) || (target == kEarth && centre == kMoon)) {
        const double sign = target == kMoon ? 1.0 : -1.0;
        for (int k = 0; k < 6; ++k) rrd[k] = sign * pv[k][9];
        return true;
    }
    double t[6], c[6];
    BodyState(target, pv, earth, moon, caches_->sunBarycentric, t);
    BodyState(centre, pv, earth, moon, caches_->sunBarycentric, c);
    for (int k = 0; k < 6; ++k) rrd[k] = t[k] - c[k];
    return true;
}

namespace {

EphemerisReader& ProgramReader() {
    static EphemerisReader reader;
    return reader;
}

}  // namespace

const std::string& EphemerisPath() { return ProgramReader().path(); }

FILE* EPHOPN(const char* name) {
    EphemerisReader& reader = ProgramReader();
    if (reader.isOpen()) return reader.file();
    if (name == nullptr || name[0] == '\0') name = "JPLEPH";
    std::string error;
    if (!reader.open(name, &error)) {
        LogMessage(stderr, "EPHOPN: %s\n", error.c_str());
        return nullptr;
    }
    return reader.file();
}

const ChebyHeader* EphemerisHeader() {
    return ProgramReader().isOpen() ? &ProgramReader().header() : nullptr;
}

void state(const double et2[2], const int list[12], double pv[6][13], double nut[4]) {
    ProgramReader().state(et2, list, pv, nut);
}

void pleph(double jd, int target, int centre, double rrd[6], int* inside) {
    *inside = ProgramReader().body(jd, target, centre, rrd) ? 1 : 0;
}

namespace {

void ToSpherical(const double s[6], double out[6]) {
    const double x = s[0], y = s[1], z = s[2], vx = s[3], vy = s[4], vz = s[5];
    const double rho2 = x * x + y * y, rho = std::sqrt(rho2);
    const double r = std::sqrt(rho2 + z * z);
    double alpha = std::atan2(y, x);
    if (alpha < 0) alpha += astro::kTwoPi;
    const double delta = std::atan2(z, rho);
    const double alphaRate = rho == 0 ? 0 : (x * vy - y * vx) / rho2;
    const double deltaRate = rho == 0 ? 0 : (rho2 * vz - z * (x * vx + y * vy)) / (rho * r * r);
    out[0] = alpha;
    out[1] = delta;
    out[2] = r;
    out[3] = r * std::cos(delta) * alphaRate;
    out[4] = r * deltaRate;
    out[5] = r == 0 ? 0 : (x * vx + y * vy + z * vz) / r;
}

}  // namespace

void GetStateVector(double jd, int target, int centre, int form, double out[6]) {
    double rrd[6];
    int inside = 0;
    pleph(jd, target, centre, rrd, &inside);
    if (!inside) FatalMessage("GetStateVector: requested date not covered by ephemeris file.\n");
    if (form == 2 && target != kNutations) {
        ToSpherical(rrd, out);
    } else {
        for (int k = 0; k < 6; ++k) out[k] = rrd[k];
    }
}

void PlanetState(double jd, int target, int centre, double rrd[6]) {
    int inside = 0;
    pleph(jd, target, centre, rrd, &inside);
}

void CloseEphemeris() { ProgramReader().close(); }
