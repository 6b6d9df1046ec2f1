#include "location/USPlaces.h"

#include "location/HomeCoordinates.h"
#include "location/USStates.h"
#include "platform/FileAccess.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kStateOffset = 0;
constexpr std::size_t kNameOffset = 4;
constexpr std::size_t kLatitudeOffset = 48;
constexpr std::size_t kLongitudeOffset = 56;

uint64_t LittleEndian(const unsigned char* bytes, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

void PutLittleEndian(uint64_t value, unsigned char* bytes, int count) {
    for (int i = 0; i < count; ++i, value >>= 8) bytes[i] = static_cast<unsigned char>(value);
}

double DoubleAt(const unsigned char* bytes) {
    const uint64_t bits = LittleEndian(bytes, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void PutDouble(double value, unsigned char* bytes) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutLittleEndian(bits, bytes, 8);
}

// Adds one record to `read`; false when reading should stop (a later state's record).
bool Take(const unsigned char* record, int state, USPlacesRead& read) {
    USPlace place;
    if (!DecodeUSPlace(record, place)) {
        ++read.damaged;
        return true;
    }
    if (place.state > state) return false;
    if (place.state == state) read.places.push_back(place);
    return true;
}

}  // namespace

bool DecodeUSPlace(const unsigned char* record, USPlace& place) {
    const uint32_t bits = static_cast<uint32_t>(LittleEndian(record + kStateOffset, 4));
    const int64_t index = bits >= 0x80000000u ? int64_t(bits) - 0x100000000LL : int64_t(bits);
    if (index < 0 || index >= kUSStateCount) return false;
    const void* end = std::memchr(record + kNameOffset, '\0', kUSPlaceNameSize);
    if (end == nullptr) return false;
    const double latitude = DoubleAt(record + kLatitudeOffset);
    const double longitude = DoubleAt(record + kLongitudeOffset);
    // Written so that NaN fails every test.
    if (!(latitude >= -90.0 && latitude <= 90.0)) return false;
    if (!(longitude >= -180.0 && longitude <= 180.0)) return false;
    place.state = static_cast<int32_t>(index);
    std::memset(place.name, 0, sizeof place.name);
    std::memcpy(place.name, record + kNameOffset,
                static_cast<const unsigned char*>(end) - (record + kNameOffset));
    place.latitude = latitude;
    place.longitude = longitude;
    return true;
}

void EncodeUSPlace(const USPlace& place, unsigned char* record) {
    std::memset(record, 0, kUSPlaceRecordSize);
    PutLittleEndian(static_cast<uint32_t>(place.state), record + kStateOffset, 4);
    const void* nul = std::memchr(place.name, '\0', kUSPlaceNameSize - 1);
    const std::size_t length =
        nul != nullptr ? static_cast<const char*>(nul) - place.name : kUSPlaceNameSize - 1;
    std::memcpy(record + kNameOffset, place.name, length);
    PutDouble(place.latitude, record + kLatitudeOffset);
    PutDouble(place.longitude, record + kLongitudeOffset);
}

USPlacesRead ReadUSPlaces(const unsigned char* data, std::size_t size, int state) {
    USPlacesRead read;
    read.opened = true;
    read.trailingBytes = size % kUSPlaceRecordSize;
    const std::size_t records = size / kUSPlaceRecordSize;
    for (std::size_t i = 0; i < records; ++i) {
        if (!Take(data + i * kUSPlaceRecordSize, state, read)) break;
    }
    return read;
}

USPlacesRead ReadUSPlacesFile(const std::string& path, int state) {
    USPlacesRead read;
    std::FILE* file = OpenFileForReading(path);
    if (file == nullptr) return read;
    read.opened = true;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0) read.trailingBytes = static_cast<std::size_t>(size) % kUSPlaceRecordSize;
    }
    std::rewind(file);
    unsigned char record[kUSPlaceRecordSize];
    for (;;) {
        const std::size_t got = std::fread(record, 1, sizeof record, file);
        if (got < sizeof record) {
            if (got > 0) read.trailingBytes = got;
            break;
        }
        if (!Take(record, state, read)) break;
    }
    std::fclose(file);
    return read;
}

USPlacesCheck CheckUSPlaces(const unsigned char* data, std::size_t size) {
    if (size == 0 || size % kUSPlaceRecordSize != 0) return USPlacesCheck::Damaged;
    int previous = 0;
    for (std::size_t at = 0; at < size; at += kUSPlaceRecordSize) {
        USPlace place;
        if (!DecodeUSPlace(data + at, place) || place.state < previous) return USPlacesCheck::Damaged;
        previous = place.state;
    }
    return USPlacesCheck::Sound;
}

USPlacesCheck CheckUSPlacesFile(const std::string& path) {
    std::FILE* file = OpenFileForReading(path);
    if (file == nullptr) return USPlacesCheck::Missing;
    std::vector<unsigned char> bytes;
    unsigned char chunk[64 * 1024];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return USPlacesCheck::Damaged;
    return CheckUSPlaces(bytes.data(), bytes.size());
}

std::string HomeNameOfPlace(const USPlace& place) {
    const std::string name(place.name, strnlen(place.name, sizeof place.name));
    if (place.state >= 0 && place.state < kUSStateCount) {
        const std::string named = name + ", " + kUSStates[place.state].abbreviation;
        if (named.size() <= kHomeNameLength) return named;
    }
    return CutName(name);
}
