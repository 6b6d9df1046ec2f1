#include "astro/ChebyHeader.h"

#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

// Reads little-endian fields one by one, remembering the first short read.
class FieldReader {
public:
    explicit FieldReader(FILE* file) : file_(file) {}
    void bytes(void* out, std::size_t size) {
        if (failed_) return;
        if (std::fread(out, 1, size, file_) != size) {
            failed_ = true;
            reason_ = std::ferror(file_) ? std::strerror(errno) : "unexpected end of file";
        }
    }
    int16_t int16() {
        uint8_t b[2] = {};
        bytes(b, 2);
        return static_cast<int16_t>(b[0] | (b[1] << 8));
    }
    double real() {
        uint8_t b[8] = {};
        bytes(b, 8);
        uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[i];
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    bool failed() const { return failed_; }
    const std::string& reason() const { return reason_; }

private:
    FILE* file_;
    bool failed_ = false;
    std::string reason_;
};

// A header that cannot be read, or that describes records the reader cannot hold, is refused
// as an unreadable file.
bool Fail(std::string* error, const std::string& why) {
    *error = "Error reading binary data file: " + why;
    return false;
}

bool FailPositioning(std::string* error, const char* what) {
    *error = what;
    return false;
}

void ReadFields(FieldReader& in, ChebyHeader* h) {
    for (auto& title : h->titles) {
        in.bytes(title, 65);
        title[64] = '\0';
    }
    h->constantCount = in.int16();
    if (in.failed() || h->constantCount < 0) return;
    h->constantNames.resize(h->constantCount);
    for (auto& name : h->constantNames) {
        in.bytes(name.data(), 6);
        name[6] = '\0';
    }
    h->firstDate = in.real();
    h->lastDate = in.real();
    h->recordDays = in.real();
    h->au = in.real();
    h->emrat = in.real();
    for (int i = 0; i < 12; ++i) h->items[i].offset = in.int16();
    for (int i = 0; i < 12; ++i) h->items[i].coefficients = in.int16();
    for (int i = 0; i < 12; ++i) h->items[i].subintervals = in.int16();
    h->deNumber = in.int16();
    h->items[kLibrationItem].offset = in.int16();
    h->items[kLibrationItem].coefficients = in.int16();
    h->items[kLibrationItem].subintervals = in.int16();
    h->constantValues.resize(h->constantCount);
    for (double& value : h->constantValues) value = in.real();
}

// NCOEFF from the item table, or -1 when an item is malformed or lies outside its record.
int RecordDoubles(const ChebyHeader& h, std::string* error) {
    long total = 2;
    for (int i = 0; i < kItemCount; ++i) {
        const ItemLayout& item = h.items[i];
        if (item.coefficients == 0) continue;
        if (item.coefficients < 0 || item.coefficients > kMaxCoefficients ||
            item.subintervals < 1 || item.subintervals > kMaxSubintervals || item.offset < 3) {
            Fail(error, "item " + std::to_string(i) + " has an impossible layout");
            return -1;
        }
        total += long(ItemComponents(i)) * item.coefficients * item.subintervals;
    }
    if (total > kMaxRecordDoubles) {
        Fail(error, "records of " + std::to_string(total) + " coefficients are too large");
        return -1;
    }
    for (int i = 0; i < kItemCount; ++i) {
        const ItemLayout& item = h.items[i];
        if (item.coefficients == 0) continue;
        const long end = item.offset - 1L +
                         long(ItemComponents(i)) * item.coefficients * item.subintervals;
        if (end > total) {
            Fail(error, "item " + std::to_string(i) + " lies outside its record");
            return -1;
        }
    }
    return static_cast<int>(total);
}

bool CheckDates(const ChebyHeader& h, std::string* error) {
    if (!std::isfinite(h.firstDate) || !std::isfinite(h.lastDate) ||
        !std::isfinite(h.recordDays) || h.recordDays <= 0 || h.lastDate < h.firstDate) {
        return Fail(error, "the date range is impossible");
    }
    if (!std::isfinite(h.au) || h.au <= 0 || !std::isfinite(h.emrat) || h.emrat <= 0) {
        return Fail(error, "AU or EMRAT is impossible");
    }
    const double needed = std::ceil((h.lastDate - h.firstDate) / h.recordDays);
    if (needed > double(h.recordCount)) {
        return Fail(error, "the file holds fewer records than its date range needs");
    }
    return true;
}

}  // namespace

int ItemComponents(int item) { return item == kNutationItem ? 2 : 3; }

long ChebyHeaderBytes(long constantCount) { return 317 + 14 * constantCount; }

bool ReadChebyHeader(FILE* file, ChebyHeader* header, std::string* error) {
    ChebyHeader h;
    if (std::fseek(file, 0, SEEK_END) != 0) return FailPositioning(error, "fseek() failed.");
    const long fileSize = std::ftell(file);
    if (fileSize < 0) return FailPositioning(error, "ftell() returned -1L.");
    if (std::fseek(file, 0, SEEK_SET) != 0) return FailPositioning(error, "fseek() failed.");
    // The constant count decides how much is read: check it against the file's size first.
    FieldReader in(file);
    in.bytes(h.titles, sizeof h.titles);
    h.constantCount = in.int16();
    if (in.failed()) return Fail(error, in.reason());
    if (h.constantCount < 0 || ChebyHeaderBytes(h.constantCount) > fileSize) {
        return Fail(error, "the number of constants does not fit the file");
    }
    if (std::fseek(file, 0, SEEK_SET) != 0) return FailPositioning(error, "fseek() failed.");
    ReadFields(in, &h);
    if (in.failed()) return Fail(error, in.reason());

    h.headerBytes = ChebyHeaderBytes(h.constantCount);
    h.recordDoubles = RecordDoubles(h, error);
    if (h.recordDoubles < 0) return false;
    h.recordBytes = 8L * h.recordDoubles;
    h.recordCount = (fileSize - h.headerBytes) / h.recordBytes;
    if (!CheckDates(h, error)) return false;
    *header = std::move(h);
    return true;
}
