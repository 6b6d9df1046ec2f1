#include "location/WorldPlaces.h"

#include "location/Utf8Text.h"
#include "platform/FileAccess.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

constexpr char kMark[4] = {'S', 'V', 'W', 'P'};
// Larger than any database the build makes by far; a bigger file is not read into memory.
constexpr std::size_t kLargestFile = 64u << 20;

uint32_t Little(const unsigned char* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

void PutLittle(std::vector<unsigned char>& out, uint32_t value, int count) {
    for (int i = 0; i < count; ++i, value >>= 8) out.push_back(static_cast<unsigned char>(value));
}

int32_t Signed(uint32_t bits) {
    return bits >= 0x80000000u ? static_cast<int32_t>(int64_t(bits) - 0x100000000LL) : static_cast<int32_t>(bits);
}

int32_t Steps(double degrees) { return static_cast<int32_t>(std::lround(degrees * kWorldPlacesCoordinateSteps)); }

// Strings written once each, in the order first met.
class StringPool {
public:
    uint32_t Add(std::string_view text) {
        const auto [at, added] = offsets_.emplace(std::string(text), static_cast<uint32_t>(bytes_.size()));
        if (added) {
            bytes_.insert(bytes_.end(), text.begin(), text.end());
            bytes_.push_back(0);
        }
        return at->second;
    }
    const std::vector<unsigned char>& bytes() const { return bytes_; }

private:
    std::map<std::string, uint32_t> offsets_;
    std::vector<unsigned char> bytes_;
};

bool IsCountryCode(const unsigned char* code) {
    return code[0] >= 'A' && code[0] <= 'Z' && code[1] >= 'A' && code[1] <= 'Z';
}

}  // namespace

std::vector<unsigned char> EncodeWorldPlaces(const std::vector<WorldZone>& zones,
                                             const std::vector<WorldCountry>& countries,
                                             const std::vector<WorldPlace>& places) {
    StringPool pool;
    std::vector<unsigned char> records;
    for (const WorldZone& zone : zones) {
        PutLittle(records, pool.Add(zone.windowsId), 4);
        PutLittle(records, pool.Add(zone.ianaZone), 4);
    }
    for (const WorldCountry& country : countries) {
        records.push_back(static_cast<unsigned char>(country.code[0]));
        records.push_back(static_cast<unsigned char>(country.code[1]));
        PutLittle(records, pool.Add(country.name), 4);
    }
    for (const WorldPlace& place : places) {
        PutLittle(records, place.geonamesId, 4);
        PutLittle(records, pool.Add(place.name), 4);
        PutLittle(records, pool.Add(place.asciiName), 4);
        PutLittle(records, pool.Add(place.admin1), 4);
        PutLittle(records, static_cast<uint32_t>(Steps(place.latitude)), 4);
        PutLittle(records, static_cast<uint32_t>(Steps(place.longitude)), 4);
        PutLittle(records, place.population, 4);
        records.push_back(static_cast<unsigned char>(place.country[0]));
        records.push_back(static_cast<unsigned char>(place.country[1]));
        PutLittle(records, place.zone, 2);
    }
    std::vector<unsigned char> out(kMark, kMark + 4);
    PutLittle(out, kWorldPlacesVersion, 2);
    PutLittle(out, static_cast<uint32_t>(zones.size()), 2);
    PutLittle(out, static_cast<uint32_t>(countries.size()), 4);
    PutLittle(out, static_cast<uint32_t>(places.size()), 4);
    PutLittle(out, static_cast<uint32_t>(pool.bytes().size()), 4);
    out.insert(out.end(), records.begin(), records.end());
    out.insert(out.end(), pool.bytes().begin(), pool.bytes().end());
    return out;
}

WorldPlacesCheck WorldPlaces::load(std::vector<unsigned char> bytes) {
    clear();
    if (bytes.size() < kWorldPlacesHeaderSize || std::memcmp(bytes.data(), kMark, 4) != 0) {
        return WorldPlacesCheck::NotPlaces;
    }
    const uint32_t version = Little(&bytes[4], 2);
    if (version > kWorldPlacesVersion) return WorldPlacesCheck::NewerVersion;
    const uint64_t zones = Little(&bytes[6], 2);
    const uint64_t countries = Little(&bytes[8], 4);
    const uint64_t places = Little(&bytes[12], 4);
    const uint64_t poolSize = Little(&bytes[16], 4);
    const uint64_t poolStart = kWorldPlacesHeaderSize + zones * kWorldZoneRecordSize +
                               countries * kWorldCountryRecordSize + places * kWorldPlaceRecordSize;
    if (version != kWorldPlacesVersion || zones == 0 || countries == 0 || places == 0 || poolSize == 0 ||
        poolStart + poolSize != bytes.size() || bytes.back() != 0) {
        return WorldPlacesCheck::Damaged;
    }
    bytes_ = std::move(bytes);
    zoneCount_ = static_cast<std::size_t>(zones);
    countryCount_ = static_cast<std::size_t>(countries);
    placeCount_ = static_cast<std::size_t>(places);
    if (!recordsAreSound()) {
        clear();
        return WorldPlacesCheck::Damaged;
    }
    return WorldPlacesCheck::Sound;
}

void WorldPlaces::clear() {
    bytes_.clear();
    zoneCount_ = countryCount_ = placeCount_ = 0;
}

bool WorldPlaces::text(const unsigned char* offsetField, std::string_view& found) const {
    const std::size_t poolSize = bytes_.size() - static_cast<std::size_t>(pool() - reinterpret_cast<const char*>(bytes_.data()));
    const uint32_t offset = Little(offsetField, 4);
    if (offset >= poolSize) return false;
    // The pool's last byte is NUL, so every string in it ends inside it.
    found = pool() + offset;
    return IsUtf8(found);
}

bool WorldPlaces::recordsAreSound() const {
    std::string_view first, second, third;
    for (std::size_t i = 0; i < zoneCount_; ++i) {
        const unsigned char* record = bytes_.data() + kWorldPlacesHeaderSize + i * kWorldZoneRecordSize;
        if (!text(record, first) || !text(record + 4, second) || first.empty() || second.empty()) return false;
        if (i > 0 && !(zone(i - 1).windowsId < first)) return false;
    }
    for (std::size_t i = 0; i < countryCount_; ++i) {
        const unsigned char* record = countries() + i * kWorldCountryRecordSize;
        if (!IsCountryCode(record) || !text(record + 2, first) || first.empty()) return false;
        if (i > 0 && std::memcmp(record - kWorldCountryRecordSize, record, 2) >= 0) return false;
    }
    const int32_t mostLatitude = 90 * static_cast<int32_t>(kWorldPlacesCoordinateSteps);
    for (std::size_t i = 0; i < placeCount_; ++i) {
        const unsigned char* record = places() + i * kWorldPlaceRecordSize;
        if (!text(record + 4, first) || !text(record + 8, second) || !text(record + 12, third) ||
            first.empty() || second.empty()) {
            return false;
        }
        const int32_t latitude = Signed(Little(record + 16, 4));
        const int32_t longitude = Signed(Little(record + 20, 4));
        if (latitude < -mostLatitude || latitude > mostLatitude || longitude < -2 * mostLatitude ||
            longitude > 2 * mostLatitude || Little(record + 30, 2) >= zoneCount_ ||
            countryName(std::string_view(reinterpret_cast<const char*>(record + 28), 2)).empty()) {
            return false;
        }
    }
    return true;
}

WorldPlacesCheck WorldPlaces::loadFile(const std::string& path) {
    clear();
    std::FILE* file = OpenFileForReading(path);
    if (file == nullptr) return WorldPlacesCheck::Missing;
    std::vector<unsigned char> bytes;
    unsigned char chunk[64 * 1024];
    std::size_t got;
    bool tooLarge = false;
    while (!tooLarge && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
        tooLarge = bytes.size() > kLargestFile;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return WorldPlacesCheck::Missing;
    if (tooLarge) return WorldPlacesCheck::Damaged;
    return load(std::move(bytes));
}

const unsigned char* WorldPlaces::countries() const {
    return bytes_.data() + kWorldPlacesHeaderSize + zoneCount_ * kWorldZoneRecordSize;
}

const unsigned char* WorldPlaces::places() const {
    return countries() + countryCount_ * kWorldCountryRecordSize;
}

const char* WorldPlaces::pool() const {
    return reinterpret_cast<const char*>(places() + placeCount_ * kWorldPlaceRecordSize);
}

WorldZone WorldPlaces::zone(std::size_t index) const {
    const unsigned char* record = bytes_.data() + kWorldPlacesHeaderSize + index * kWorldZoneRecordSize;
    WorldZone zone;
    zone.windowsId = pool() + Little(record, 4);
    zone.ianaZone = pool() + Little(record + 4, 4);
    return zone;
}

WorldCountry WorldPlaces::country(std::size_t index) const {
    const unsigned char* record = countries() + index * kWorldCountryRecordSize;
    WorldCountry country;
    country.code[0] = static_cast<char>(record[0]);
    country.code[1] = static_cast<char>(record[1]);
    country.name = pool() + Little(record + 2, 4);
    return country;
}

WorldPlace WorldPlaces::place(std::size_t index) const {
    const unsigned char* record = places() + index * kWorldPlaceRecordSize;
    WorldPlace place;
    place.geonamesId = Little(record, 4);
    place.name = pool() + Little(record + 4, 4);
    place.asciiName = pool() + Little(record + 8, 4);
    place.admin1 = pool() + Little(record + 12, 4);
    place.latitude = Signed(Little(record + 16, 4)) / kWorldPlacesCoordinateSteps;
    place.longitude = Signed(Little(record + 20, 4)) / kWorldPlacesCoordinateSteps;
    place.population = Little(record + 24, 4);
    place.country[0] = static_cast<char>(record[28]);
    place.country[1] = static_cast<char>(record[29]);
    place.zone = static_cast<uint16_t>(Little(record + 30, 2));
    return place;
}

int WorldPlaces::findZone(std::string_view windowsId) const {
    std::size_t low = 0, high = zoneCount_;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        const std::string_view id = zone(middle).windowsId;
        if (id == windowsId) return static_cast<int>(middle);
        if (id < windowsId) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return -1;
}

std::string_view WorldPlaces::countryName(std::string_view code) const {
    std::size_t low = 0, high = countryCount_;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        const WorldCountry country = this->country(middle);
        if (code == country.code) return country.name;
        if (std::string_view(country.code) < code) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return {};
}
