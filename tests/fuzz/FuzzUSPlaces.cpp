// "USPlaces.bin" of any content, read from memory for every state index and two outside the
// table: every place returned belongs to the state asked for, has a terminated name and
// coordinates on the Earth. The file reader agrees with it (for a few states: opening a file
// costs more than the rest of a run). A decoded record written again decodes to the same
// place. A read out of bounds or a crash is a finding.
#include "FuzzSupport.h"

#include "location/USPlaces.h"
#include "location/USStates.h"

#include <cmath>
#include <cstring>

namespace {

void CheckPlace(const USPlace& place, int state) {
    FUZZ_CHECK(place.state == state);
    FUZZ_CHECK(std::memchr(place.name, '\0', sizeof place.name) != nullptr);
    FUZZ_CHECK(std::isfinite(place.latitude) && std::fabs(place.latitude) <= 90);
    FUZZ_CHECK(std::isfinite(place.longitude) && std::fabs(place.longitude) <= 180);
}

bool SamePlace(const USPlace& a, const USPlace& b) {
    return a.state == b.state && std::strcmp(a.name, b.name) == 0 &&
           std::memcmp(&a.latitude, &b.latitude, sizeof a.latitude) == 0 &&
           std::memcmp(&a.longitude, &b.longitude, sizeof a.longitude) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::size_t records = size / kUSPlaceRecordSize;
    const std::string path = MemoryFile(data, size);
    std::size_t found = 0;
    const int firstState = size >= 4 ? data[0] : 0;
    for (int state = -1; state <= kUSStateCount; ++state) {
        const USPlacesRead read = ReadUSPlaces(data, size, state);
        FUZZ_CHECK(read.opened);
        FUZZ_CHECK(read.trailingBytes == size % kUSPlaceRecordSize);
        FUZZ_CHECK(read.places.size() + read.damaged <= records);
        for (const USPlace& place : read.places) CheckPlace(place, state);
        if (state < 0 || state >= kUSStateCount) FUZZ_CHECK(read.places.empty());
        found += read.places.size();

        if (state != -1 && state != 0 && state != firstState && state != kUSStateCount - 1) continue;
        const USPlacesRead fromFile = ReadUSPlacesFile(path, state);
        FUZZ_CHECK(fromFile.opened);
        FUZZ_CHECK(fromFile.damaged == read.damaged);
        FUZZ_CHECK(fromFile.trailingBytes == read.trailingBytes);
        FUZZ_CHECK(fromFile.places.size() == read.places.size());
        for (std::size_t i = 0; i < read.places.size(); ++i) {
            FUZZ_CHECK(SamePlace(fromFile.places[i], read.places[i]));
        }
    }
    FUZZ_CHECK(found <= records);

    // Each record on its own: a good one survives being written again.
    for (std::size_t i = 0; i < records; ++i) {
        USPlace place;
        if (!DecodeUSPlace(data + i * kUSPlaceRecordSize, place)) continue;
        CheckPlace(place, place.state);
        unsigned char again[kUSPlaceRecordSize];
        EncodeUSPlace(place, again);
        USPlace back;
        FUZZ_CHECK(DecodeUSPlace(again, back));
        FUZZ_CHECK(SamePlace(back, place));
    }
    return 0;
}
