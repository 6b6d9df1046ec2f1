// The state table, the reader of "USPlaces.bin" on hand-made files (records written here byte
// by byte, at the offsets of the file's layout), and the database the build makes.
#include "location/USPlaces.h"
#include "location/USStates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void PutLittle(Bytes& out, std::size_t at, uint64_t value, int count) {
    for (int i = 0; i < count; ++i) out[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// One 64-byte record: state at 0, `name` (up to 44 bytes, copied as given) at 4, latitude
// at 48, longitude at 56, little-endian.
Bytes Record(uint32_t state, const std::string& name, double latitude, double longitude) {
    Bytes out(64, 0);
    PutLittle(out, 0, state, 4);
    std::memcpy(&out[4], name.data(), std::min<std::size_t>(name.size(), 44));
    uint64_t bits;
    std::memcpy(&bits, &latitude, 8);
    PutLittle(out, 48, bits, 8);
    std::memcpy(&bits, &longitude, 8);
    PutLittle(out, 56, bits, 8);
    return out;
}

Bytes Join(std::initializer_list<Bytes> records) {
    Bytes out;
    for (const Bytes& r : records) out.insert(out.end(), r.begin(), r.end());
    return out;
}

USPlacesRead Read(const Bytes& file, int state) { return ReadUSPlaces(file.data(), file.size(), state); }

std::vector<std::string> Names(const USPlacesRead& read) {
    std::vector<std::string> names;
    for (const USPlace& p : read.places) names.push_back(p.name);
    return names;
}

using Strings = std::vector<std::string>;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

TEST(USStates, TableRowsAndNames) {
    const std::pair<int, std::pair<const char*, const char*>> rows[] = {
        {0, {"AL", "Alabama"}},          {1, {"AK", "Alaska"}},
        {8, {"DC", "District of Columbia"}}, {9, {"FL", "Florida"}},
        {11, {"HI", "Hawaii"}},          {39, {"RI", "Rhode Island"}},
        {50, {"WY", "Wyoming"}},         {51, {"AS", "Samoa Islands"}},
        {52, {"GU", "Guam"}},            {53, {"MP", "Marianas Islands"}},
        {54, {"PW", "Palau"}},           {55, {"PR", "Puerto Rico"}},
        {56, {"VI", "Virgin Islands"}},
    };
    for (const auto& row : rows) {
        EXPECT_STREQ(kUSStates[row.first].abbreviation, row.second.first) << row.first;
        EXPECT_STREQ(kUSStates[row.first].name, row.second.second) << row.first;
        EXPECT_EQ(USStateIndex(row.second.first), row.first);
    }
    // The states and DC are in alphabetical order, every code is two capitals and unique.
    for (int i = 1; i <= 50; ++i) EXPECT_LT(std::strcmp(kUSStates[i - 1].name, kUSStates[i].name), 0) << i;
    for (int i = 0; i < kUSStateCount; ++i) {
        const char* code = kUSStates[i].abbreviation;
        EXPECT_TRUE(std::isupper(code[0]) && std::isupper(code[1]) && code[2] == '\0') << i;
        EXPECT_EQ(USStateIndex(code), i) << code;
        EXPECT_LT(std::strlen(kUSStates[i].name), sizeof kUSStates[i].name);
    }
    EXPECT_EQ(USStateIndex("XX"), -1);
    EXPECT_EQ(USStateIndex("al"), -1);
    EXPECT_EQ(USStateIndex(""), -1);
    EXPECT_EQ(USStateIndex(nullptr), -1);
}

TEST(USPlacesReader, ReadsTheGroupOfOneState) {
    const Bytes file = Join({Record(0, "Mobile", 30.69, -88.04), Record(0, "Selma", 32.41, -87.02),
                             Record(9, "Orlando", 28.53834, -81.37924), Record(9, "Tampa", 27.95, -82.46),
                             Record(56, "Frederiksted", 17.71, -64.88)});
    const USPlacesRead florida = Read(file, 9);
    EXPECT_TRUE(florida.opened);
    EXPECT_EQ(Names(florida), (Strings{"Orlando", "Tampa"}));
    EXPECT_EQ(florida.places[0].state, 9);
    EXPECT_EQ(florida.places[0].latitude, 28.53834);
    EXPECT_EQ(florida.places[0].longitude, -81.37924);
    EXPECT_EQ(florida.damaged, 0u);
    EXPECT_EQ(florida.trailingBytes, 0u);
    EXPECT_EQ(Names(Read(file, 0)), (Strings{"Mobile", "Selma"}));
    EXPECT_EQ(Names(Read(file, 56)), (Strings{"Frederiksted"}));
    EXPECT_TRUE(Read(file, 5).places.empty());   // a state without records
    EXPECT_TRUE(Read(file, 57).places.empty());  // no such row
    EXPECT_TRUE(Read(file, -1).places.empty());
    EXPECT_TRUE(Read(Bytes(), 0).places.empty());
}

TEST(USPlacesReader, StopsAtTheFirstLaterState) {
    // A record of state 0 after state 1's group is never reached.
    const Bytes file = Join({Record(0, "A", 1, 1), Record(1, "B", 2, 2), Record(0, "C", 3, 3),
                             Record(1, "D", 4, 4)});
    EXPECT_EQ(Names(Read(file, 0)), (Strings{"A"}));
    EXPECT_EQ(Names(Read(file, 1)), (Strings{"B", "D"}));
}

TEST(USPlacesReader, IgnoresATruncatedLastRecord) {
    Bytes file = Join({Record(3, "Little Rock", 34.75, -92.29), Record(3, "Hope", 33.67, -93.59)});
    const Bytes whole = file;
    file.resize(file.size() + 30, 'x');  // part of a third record
    USPlacesRead read = Read(file, 3);
    EXPECT_EQ(Names(read), (Strings{"Little Rock", "Hope"}));
    EXPECT_EQ(read.trailingBytes, 30u);
    EXPECT_EQ(read.damaged, 0u);
    // Shorter than one record: nothing, and every byte left over.
    read = Read(Bytes(whole.begin(), whole.begin() + 63), 3);
    EXPECT_TRUE(read.places.empty());
    EXPECT_EQ(read.trailingBytes, 63u);
}

TEST(USPlacesReader, SkipsAndCountsDamagedRecords) {
    const Bytes file = Join({
        Record(0xFFFFFFFFu, "minus one", 1, 1),           // index -1
        Record(57, "past the table", 1, 1),
        Record(0x01000000u, "big-endian one", 1, 1),
        Record(2, "Phoenix", 33.45, -112.07),
        Record(2, std::string(44, 'N'), 34.0, -111.0),    // no NUL within 44 bytes
        Record(2, "nan latitude", kNaN, -111.0),
        Record(2, "nan longitude", 34.0, kNaN),
        Record(2, "infinite", kInfinity, -111.0),
        Record(2, "too far north", 90.0001, -111.0),
        Record(2, "too far west", 34.0, -180.5),
        Record(2, "Yuma", 32.69, -114.63),
        Record(3, "Nan", kNaN, kNaN),                     // damaged: does not end state 2's group
        Record(2, "Tucson", 32.22, -110.97),
        Record(4, "Fresno", 36.74, -119.79),              // a later state: reading stops
        Record(5, "after the stop", kNaN, 0),
    });
    const USPlacesRead read = Read(file, 2);
    EXPECT_EQ(Names(read), (Strings{"Phoenix", "Yuma", "Tucson"}));
    EXPECT_EQ(read.damaged, 10u);  // the ten before the stop
}

TEST(USPlacesReader, NameAndCoordinateLimits) {
    const std::string longest(43, 'L');  // 43 characters and the NUL: the longest name
    const Bytes file = Join({Record(11, longest, 90, 180), Record(11, "South", -90, -180),
                             Record(11, "Zero", 0, -0.0), Record(11, "\xC5t\xF1", 21.3, -157.9)});
    const USPlacesRead read = Read(file, 11);
    EXPECT_EQ(Names(read), (Strings{longest, "South", "Zero", "\xC5t\xF1"}));
    EXPECT_EQ(read.damaged, 0u);
    // The bytes after the NUL do not matter.
    Bytes junkAfterNul = Record(11, "Hilo", 19.7, -155.1);
    std::memset(&junkAfterNul[4 + 5], 'z', 44 - 5);
    EXPECT_EQ(Names(Read(junkAfterNul, 11)), (Strings{"Hilo"}));
}

TEST(USPlacesReader, WriterMatchesTheLayout) {
    USPlace place;
    place.state = 55;
    std::strcpy(place.name, "San Juan");
    place.latitude = 18.46633;
    place.longitude = -66.10572;
    Bytes written(64, 0xAA);
    EncodeUSPlace(place, written.data());
    EXPECT_EQ(written, Record(55, "San Juan", 18.46633, -66.10572));
    // A full name buffer without its NUL is cut to 43 bytes.
    std::memset(place.name, 'Q', sizeof place.name);
    EncodeUSPlace(place, written.data());
    USPlace back;
    ASSERT_TRUE(DecodeUSPlace(written.data(), back));
    EXPECT_EQ(std::string(back.name), std::string(43, 'Q'));
}

TEST(USPlacesReader, ReadsFiles) {
    const std::string path = testing::TempDir() + "usplaces-" + std::to_string(::getpid()) + ".bin";
    Bytes file = Join({Record(20, "Baltimore", 39.29, -76.61), Record(20, std::string(44, 'x'), 0, 0),
                       Record(21, "Boston", 42.36, -71.06), Record(22, "Detroit", 42.33, -83.05)});
    file.resize(file.size() + 10, 0);
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    }
    for (int state : {20, 21, 22, 23}) {
        const USPlacesRead fromFile = ReadUSPlacesFile(path, state);
        const USPlacesRead fromBytes = Read(file, state);
        EXPECT_TRUE(fromFile.opened);
        EXPECT_EQ(Names(fromFile), Names(fromBytes)) << state;
        EXPECT_EQ(fromFile.damaged, fromBytes.damaged) << state;
        EXPECT_EQ(fromFile.trailingBytes, 10u) << state;
    }
    EXPECT_EQ(Names(ReadUSPlacesFile(path, 21)), (Strings{"Boston"}));
    std::remove(path.c_str());
    const USPlacesRead missing = ReadUSPlacesFile(path, 21);
    EXPECT_FALSE(missing.opened);
    EXPECT_TRUE(missing.places.empty());
}

// The whole database is checked before it is shown: a truncated or garbled file is told
// apart from a missing one, never shown as empty lists.
TEST(USPlacesReader, ChecksTheWholeDatabase) {
    const Bytes sound = Join({Record(0, "Mobile", 30.69, -88.04), Record(9, "Orlando", 28.54, -81.38),
                              Record(9, "Tampa", 27.95, -82.46), Record(56, "Frederiksted", 17.71, -64.88)});
    auto check = [](const Bytes& bytes) { return CheckUSPlaces(bytes.data(), bytes.size()); };
    EXPECT_EQ(check(sound), USPlacesCheck::Sound);
    Bytes truncated(sound.begin(), sound.end() - 10);
    Bytes garbled(sound.size());
    for (std::size_t i = 0; i < garbled.size(); ++i) garbled[i] = static_cast<unsigned char>(i * 151 + 7);
    Bytes text(std::size_t(64 * 3), 'x');
    Bytes badInTheMiddle = sound;
    badInTheMiddle[64 + 48 + 7] = 0x7F;  // Orlando's latitude becomes a NaN
    badInTheMiddle[64 + 48 + 6] = 0xF8;
    const Bytes outOfOrder = Join({Record(9, "Orlando", 28.54, -81.38), Record(0, "Mobile", 30.69, -88.04)});
    const std::pair<const char*, Bytes> damaged[] = {
        {"empty", Bytes()}, {"truncated", truncated}, {"garbled", garbled}, {"text", text},
        {"one bad record", badInTheMiddle}, {"states out of order", outOfOrder},
        {"a piece of a record", Bytes(sound.begin(), sound.begin() + 63)},
    };
    for (const auto& d : damaged) EXPECT_EQ(check(d.second), USPlacesCheck::Damaged) << d.first;

    const std::string path = testing::TempDir() + "usplaces-check-" + std::to_string(::getpid()) + ".bin";
    auto write = [&](const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    };
    write(sound);
    EXPECT_EQ(CheckUSPlacesFile(path), USPlacesCheck::Sound);
    write(truncated);
    EXPECT_EQ(CheckUSPlacesFile(path), USPlacesCheck::Damaged);
    write(garbled);
    EXPECT_EQ(CheckUSPlacesFile(path), USPlacesCheck::Damaged);
    std::remove(path.c_str());
    EXPECT_EQ(CheckUSPlacesFile(path), USPlacesCheck::Missing);
}

// A picked place's home name carries its state's code, as the default "Orlando, FL" does,
// when the whole fits in the stored name; a long name is cut with no blank left at its end.
TEST(USPlaces, HomeNameOfAPickedPlace) {
    auto place = [](int state, const std::string& name) {
        USPlace p;
        p.state = state;
        std::strncpy(p.name, name.c_str(), sizeof p.name - 1);
        return p;
    };
    const std::string fits(27, 'F');          // 27 + ", HI" = 31 characters
    const std::string tooLong(28, 'T');       // the code would make 32
    const std::string blankAtCut = std::string(29, 'B') + "  Creek";  // a cut at 31 ends in blanks
    const std::pair<USPlace, std::string> cases[] = {
        {place(9, "Orlando"), "Orlando, FL"},       {place(11, "Honolulu"), "Honolulu, HI"},
        {place(56, "Charlotte Amalie"), "Charlotte Amalie, VI"},
        {place(11, fits), fits + ", HI"},           {place(11, tooLong), tooLong},
        {place(4, blankAtCut), std::string(29, 'B')}, {place(4, std::string(43, 'x')), std::string(31, 'x')},
    };
    for (const auto& c : cases) EXPECT_EQ(HomeNameOfPlace(c.first), c.second) << c.first.name;
}

// The database the build made from the GeoNames table.
class USPlacesDatabase : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::ifstream in(SOLVANE_TEST_USPLACES, std::ios::binary);
        bytes_ = Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static Bytes bytes_;
};
Bytes USPlacesDatabase::bytes_;

TEST_F(USPlacesDatabase, WholeRecordsInAscendingStateGroupsCoveringEveryRow) {
    ASSERT_GT(bytes_.size(), 20000u * 64);
    ASSERT_EQ(bytes_.size() % 64, 0u);
    std::vector<std::size_t> perState(kUSStateCount, 0);
    int previous = 0;
    for (std::size_t at = 0; at < bytes_.size(); at += 64) {
        USPlace place;
        ASSERT_TRUE(DecodeUSPlace(&bytes_[at], place)) << "record " << at / 64;
        ASSERT_GE(place.state, previous) << "record " << at / 64;
        previous = place.state;
        ++perState[place.state];
        // Names: not empty, no control characters, only bytes Windows-1252 defines.
        const std::string name = place.name;
        ASSERT_FALSE(name.empty()) << "record " << at / 64;
        for (unsigned char c : name) {
            ASSERT_TRUE(c >= 0x20 && c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D)
                << name;
        }
        ASSERT_NE(name.front(), ' ');
        ASSERT_NE(name.back(), ' ');
    }
    std::size_t total = 0;
    for (int s = 0; s < kUSStateCount; ++s) {
        EXPECT_GT(perState[s], 0u) << kUSStates[s].name;
        // Reading one state finds its whole group.
        const USPlacesRead read = ReadUSPlaces(bytes_.data(), bytes_.size(), s);
        EXPECT_EQ(read.places.size(), perState[s]) << kUSStates[s].name;
        EXPECT_EQ(read.damaged, 0u);
        total += read.places.size();
    }
    EXPECT_EQ(total, bytes_.size() / 64);
    EXPECT_EQ(CheckUSPlacesFile(SOLVANE_TEST_USPLACES), USPlacesCheck::Sound);
}

TEST_F(USPlacesDatabase, WellKnownPlaces) {
    struct Known {
        const char* state;
        const char* name;
        double latitude, longitude;
    };
    const Known places[] = {
        {"FL", "Orlando", 28.54, -81.38},
        {"HI", "Honolulu", 21.31, -157.86},
        {"AK", "Anchorage", 61.22, -149.90},
        {"PR", "San Juan", 18.47, -66.11},
        {"DC", "Washington", 38.90, -77.04},
        {"NY", "New York City", 40.71, -74.01},
        {"CA", "Los Angeles", 34.05, -118.24},
        {"GU", "Hag\xE5t\xF1" "a", 13.48, 144.75},  // in Windows-1252
        {"AS", "Pago Pago", -14.28, -170.70},
        {"MP", "Saipan", 15.21, 145.75},
        {"PW", "Koror", 7.34, 134.47},
        {"VI", "Charlotte Amalie", 18.34, -64.93},
    };
    for (const Known& known : places) {
        const int state = USStateIndex(known.state);
        ASSERT_GE(state, 0);
        const USPlacesRead read = ReadUSPlacesFile(SOLVANE_TEST_USPLACES, state);
        ASSERT_TRUE(read.opened);
        bool found = false;
        for (const USPlace& p : read.places) {
            if (std::strcmp(p.name, known.name) != 0) continue;
            found = true;
            EXPECT_NEAR(p.latitude, known.latitude, 0.05) << known.name;
            EXPECT_NEAR(p.longitude, known.longitude, 0.05) << known.name;
        }
        EXPECT_TRUE(found) << known.name << ", " << known.state;
    }
}

}  // namespace
