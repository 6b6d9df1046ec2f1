// Converts the JPL DE405 ephemeris as Debian's casacore-data-jpl-de405 stores it (a casacore
// table column of 1143 rows, each one 32-day JPL record without its two date words) into the
// "cheby" file the clock reads: a little-endian header, then the records back to back.
//
// usage: make_cheby /usr/share/casacore/data/ephemerides/DE405/table.f0i OUT

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The DE405 source: row r holds JPL record words 3..1018 of the record starting at
// kFirstDate + 32 r.
constexpr double kFirstDate = 2436912.5;
constexpr double kRecordDays = 32.0;
constexpr int kRows = 1143;
constexpr int kRowWords = 1018;  // of which the last two are zero padding
constexpr long kRowStride = 8160;
constexpr long kRowStart = 28;
constexpr int kRecordDoubles = 1018;  // NCOEFF: two dates and 1016 coefficients

// Item table of DE405: Mercury .. nutations, then librations.
constexpr int16_t kOffsets[13] = {3, 171, 231, 309, 342, 366, 387, 405, 423, 441, 753, 819, 899};
constexpr int16_t kCounts[13] = {14, 10, 13, 11, 8, 7, 6, 6, 6, 13, 11, 10, 10};
constexpr int16_t kSubintervals[13] = {4, 2, 2, 1, 1, 1, 1, 1, 1, 8, 2, 4, 4};

struct Constant {
    const char* name;
    double value;
};
constexpr Constant kConstants[] = {
    {"DENUM ", 405.0},
    {"AU    ", 149597870.691},
    {"EMRAT ", 81.30056},
    {"CLIGHT", 299792.458},
};

class Writer {
public:
    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        out_.insert(out_.end(), p, p + size);
    }
    void int16(int16_t v) {
        out_.push_back(uint8_t(v & 0xff));
        out_.push_back(uint8_t((uint16_t(v) >> 8) & 0xff));
    }
    void real(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i) out_.push_back(uint8_t(bits >> (8 * i)));
    }
    void title(const std::string& text) {
        std::string line = text;
        line.resize(64, ' ');
        line.push_back(' ');
        bytes(line.data(), 65);
    }
    const std::vector<uint8_t>& data() const { return out_; }

private:
    std::vector<uint8_t> out_;
};

double ReadDouble(const std::vector<uint8_t>& source, long offset) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | source[offset + i];
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

void WriteHeader(Writer& w) {
    const double lastDate = kFirstDate + kRows * kRecordDays;
    char line[80];
    w.title("JPL Planetary Ephemeris DE405/LE405");
    std::snprintf(line, sizeof line, "Start Epoch: JED= %9.1f", kFirstDate);
    w.title(line);
    std::snprintf(line, sizeof line, "Final Epoch: JED= %9.1f", lastDate);
    w.title(line);
    const int16_t constantCount = sizeof kConstants / sizeof kConstants[0];
    w.int16(constantCount);
    for (const Constant& c : kConstants) w.bytes(c.name, 6);
    w.real(kFirstDate);
    w.real(lastDate);
    w.real(kRecordDays);
    w.real(kConstants[1].value);
    w.real(kConstants[2].value);
    for (int i = 0; i < 12; ++i) w.int16(kOffsets[i]);
    for (int i = 0; i < 12; ++i) w.int16(kCounts[i]);
    for (int i = 0; i < 12; ++i) w.int16(kSubintervals[i]);
    w.int16(405);
    w.int16(kOffsets[12]);
    w.int16(kCounts[12]);
    w.int16(kSubintervals[12]);
    for (const Constant& c : kConstants) w.real(c.value);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_cheby DE405/table.f0i OUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> source(std::istreambuf_iterator<char>(in), {});
    const long needed = kRowStart + (kRows - 1) * kRowStride + kRowWords * 8L - 16;
    if (source.size() < std::size_t(needed)) {
        std::fprintf(stderr, "make_cheby: %s is not the DE405 table (%zu bytes)\n", argv[1],
                     source.size());
        return 1;
    }
    Writer w;
    WriteHeader(w);
    for (int row = 0; row < kRows; ++row) {
        const long start = kRowStart + row * kRowStride;
        w.real(kFirstDate + row * kRecordDays);
        w.real(kFirstDate + (row + 1) * kRecordDays);
        for (int word = 0; word < kRecordDoubles - 2; ++word) w.real(ReadDouble(source, start + 8L * word));
    }
    FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr || std::fwrite(w.data().data(), 1, w.data().size(), out) != w.data().size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "make_cheby: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
