// The command lines of solvane-almanac and solvane-render, and the options file they read.
#include "OptionsTestDoubles.h"

#include "cli/AlmanacRequest.h"
#include "cli/Arguments.h"
#include "cli/RenderRequest.h"
#include "cli/StoredOptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

std::string Joined(const std::vector<std::string>& arguments) {
    std::string joined;
    for (const auto& a : arguments) joined += "[" + a + "] ";
    return joined;
}

TEST(ParseOptions, SwitchesValuesAndTheThreeErrors) {
    bool quiet = false;
    std::string name;
    const std::vector<OptionRule> rules = {
        {"--quiet", nullptr, [&](const std::string&) { return quiet = true; }},
        {"--name", "a name", [&](const std::string& v) { name = v; return v != "bad"; }},
    };
    std::string error;
    EXPECT_TRUE(ParseOptions({}, rules, &error));
    EXPECT_TRUE(ParseOptions({"--name", "a", "--quiet", "--name", "--quiet"}, rules, &error));
    EXPECT_TRUE(quiet);
    EXPECT_EQ(name, "--quiet") << "the last value wins, whatever it looks like";

    EXPECT_FALSE(ParseOptions({"--quiet", "extra"}, rules, &error));
    EXPECT_EQ(error, "unknown option 'extra'");
    EXPECT_FALSE(ParseOptions({"--name"}, rules, &error));
    EXPECT_EQ(error, "--name needs a value");
    EXPECT_FALSE(ParseOptions({"--name", "bad", "--quiet"}, rules, &error));
    EXPECT_EQ(error, "--name wants a name, not 'bad'");
    EXPECT_FALSE(ParseOptions({"--Quiet"}, rules, &error)) << "names are case-sensitive";
}

TEST(ParseOptions, ErrorsStayOnOneShortLine) {
    std::string error;
    const std::vector<OptionRule> rules = {{"--name", "a name", [](const std::string&) { return false; }}};
    EXPECT_FALSE(ParseOptions({"--na\nme"}, rules, &error));
    EXPECT_EQ(error, "unknown option '--na?me'");
    EXPECT_FALSE(ParseOptions({"--name", "a\r\nb\x7f\tc"}, rules, &error));
    EXPECT_EQ(error, "--name wants a name, not 'a??b??c'");
    EXPECT_FALSE(ParseOptions({"--name", std::string(100, 'x')}, rules, &error));
    EXPECT_EQ(error, "--name wants a name, not '" + std::string(60, 'x') + "...'");
    EXPECT_FALSE(ParseOptions({"--name", "\xC3\xA9t\xC3\xA9"}, rules, &error));
    EXPECT_EQ(error, "--name wants a name, not '\xC3\xA9t\xC3\xA9'") << "other bytes kept";
}

TEST(ParseNumber, WholeTextFiniteAndInRange) {
    double v = 0;
    EXPECT_TRUE(ParseNumber("-90", -90, 90, &v));
    EXPECT_EQ(v, -90);
    EXPECT_TRUE(ParseNumber("1e1", 0, 10, &v));
    EXPECT_EQ(v, 10);
    for (const char* bad : {"", "90.000001", "nan", "inf", "-inf", "1e999", "12abc", "1 2", "--"}) {
        v = 123;
        EXPECT_FALSE(ParseNumber(bad, -90, 90, &v)) << bad;
        EXPECT_EQ(v, 123) << "untouched on failure: " << bad;
    }
}

TEST(ParseUtc, CalendarLimitsAndStrictForm) {
    CivilTime t;
    ASSERT_TRUE(ParseUtc("2000-02-29T23:59:59", &t));
    EXPECT_EQ(t.dayOfWeek, 2);  // a Tuesday
    EXPECT_TRUE(ParseUtc("0001-01-01T00:00:00", &t));
    EXPECT_TRUE(ParseUtc("9999-12-31T23:59:59", &t));
    for (const char* bad : {"1900-02-29T00:00:00", "2023-02-29T00:00:00", "2024-04-31T00:00:00",
                            "0000-01-01T00:00:00", "2024-00-10T00:00:00", "2024-01-01T00:60:00",
                            "2024-01-01T00:00:60", "+202-01-01T00:00:00", "2024-+1-01T00:00:00",
                            "2024-01- 1T00:00:00", "2024-01-01T-1:00:00", "2024-01-01t00:00:00",
                            "2024/01/01T00:00:00", "2024-01-01T00:00:0", ""}) {
        EXPECT_FALSE(ParseUtc(bad, &t)) << bad;
    }
}

bool ParsesAlmanac(const std::vector<std::string>& arguments, AlmanacRequest* request = nullptr,
                   std::string* error = nullptr) {
    AlmanacRequest unusedRequest;
    std::string unusedError;
    return ParseAlmanacArguments(arguments, request ? request : &unusedRequest,
                                 error ? error : &unusedError);
}

TEST(AlmanacArguments, AcceptsEveryOption) {
    AlmanacRequest r;
    ASSERT_TRUE(ParsesAlmanac({"--utc", "2024-02-29T23:59:59", "--lat", "-33.87", "--lon",
                               "151.21", "--tz-bias", "-600", "--cheby", "/tmp/x", "--json",
                               "--eclipses", "12"},
                              &r));
    EXPECT_EQ(r.utc->day, 29);
    EXPECT_EQ(r.utc->dayOfWeek, 4);
    EXPECT_DOUBLE_EQ(*r.latitude, -33.87);
    EXPECT_DOUBLE_EQ(*r.longitude, 151.21);
    EXPECT_EQ(*r.timeZoneBias, -600);
    EXPECT_EQ(*r.chebyPath, "/tmp/x");
    EXPECT_TRUE(r.json);
    EXPECT_EQ(*r.eclipses, 12);
    ASSERT_TRUE(ParsesAlmanac({}, &r));
    EXPECT_FALSE(r.utc || r.latitude || r.longitude || r.timeZoneBias || r.chebyPath || r.json ||
                 r.eclipses);
}

TEST(AlmanacArguments, RefusesBadInputAndSaysWhy) {
    const std::vector<std::vector<std::string>> bad = {
        {"--utc", "2023-02-29T00:00:00"}, {"--utc", "2024-13-01T00:00:00"},
        {"--utc", "2024-01-01 00:00:00"}, {"--utc", "2024-01-01T24:00:00"},
        {"--utc", "2024-01-01T00:00:00Z"}, {"--utc"}, {"--lat", "91"}, {"--lat", "nan"},
        {"--lon", "-180.5"}, {"--lon", "12abc"}, {"--tz-bias", "30.5"}, {"--tz-bias", "2000"},
        {"--verbose"}, {"2024-01-01T00:00:00"}, {"--lat", ""}, {"--json", "--cheby"}, {"--cheby", ""},
        {"--eclipses", "0"}, {"--eclipses", "501"}, {"--eclipses", "2.5"}, {"--eclipses", "-3"},
    };
    for (const auto& arguments : bad) EXPECT_FALSE(ParsesAlmanac(arguments)) << Joined(arguments);
    std::string error;
    ParsesAlmanac({"--lon", "200"}, nullptr, &error);
    EXPECT_EQ(error, "--lon wants degrees from -180 to 180 (east positive), not '200'");
}

TEST(AlmanacArguments, PlaceOrZoneAndWhatCannotGoWithThem) {
    AlmanacRequest r;
    ASSERT_TRUE(ParsesAlmanac({"--place", "Kingston, JM", "--json"}, &r));
    EXPECT_EQ(*r.place, "Kingston, JM");
    ASSERT_TRUE(ParsesAlmanac({"--zone", "Nepal Standard Time", "--lat", "27.7", "--lon", "85.3"}, &r));
    EXPECT_EQ(*r.zone, "Nepal Standard Time");
    EXPECT_FALSE(r.place);
    const struct {
        std::vector<std::string> arguments;
        const char* error;
    } bad[] = {
        {{"--zone", "UTC", "--lat", "1", "--lon", "2", "--tz-bias", "60"}, "--zone and --tz-bias cannot go together"},
        {{"--zone", "UTC", "--lat", "1"}, "--zone needs --lat and --lon"},
        {{"--zone", "UTC"}, "--zone needs --lat and --lon"},
        {{"--place", "Tokyo", "--lat", "1"}, "--place takes its own --lat and --lon"},
        {{"--place", "Tokyo", "--zone", "UTC"}, "--place takes its own time zone"},
        {{"--place", "Tokyo", "--tz-bias", "0"}, "--place takes its own time zone"},
        {{"--place", ""}, "--place wants a place name, not ''"},
        {{"--zone", "", "--lat", "1", "--lon", "2"}, "--zone wants a Windows time zone id, not ''"},
        {{"--place"}, "--place needs a value"},
    };
    for (const auto& c : bad) {
        std::string error;
        EXPECT_FALSE(ParsesAlmanac(c.arguments, nullptr, &error)) << Joined(c.arguments);
        EXPECT_EQ(error, c.error) << Joined(c.arguments);
    }
}

TEST(RenderArguments, DefaultsOptionsAndRefusals) {
    RenderRequest r;
    std::string error;
    ASSERT_TRUE(ParseRenderArguments({"--out", "x.bmp"}, &r, &error));
    EXPECT_EQ(r.width, 800);
    EXPECT_EQ(r.height, 600);
    EXPECT_EQ(r.displayFlags, 0x559u);
    EXPECT_EQ(r.viewpoint, 2);
    EXPECT_FALSE(r.utc || r.latitude || r.longitude);
    ASSERT_TRUE(ParseRenderArguments({"--size", "1920x1080", "--viewpoint", "7", "--flags", "FDD",
                                      "--lat", "-33.9", "--lon", "151.2", "--utc",
                                      "2025-03-20T09:01:00", "--out", "y.bmp"},
                                     &r, &error))
        << error;
    EXPECT_EQ(r.width, 1920);
    EXPECT_EQ(r.height, 1080);
    EXPECT_EQ(r.viewpoint, 7);
    EXPECT_EQ(r.displayFlags, 0xFDDu);
    EXPECT_DOUBLE_EQ(*r.latitude, -33.9);
    EXPECT_EQ(r.utc->hour, 9);
    EXPECT_EQ(r.output, "y.bmp");
    const std::vector<std::vector<std::string>> bad = {
        {}, {"--viewpoint", "8", "--out", "x"}, {"--size", "0x10", "--out", "x"},
        {"--size", "800", "--out", "x"}, {"--flags", "1000", "--out", "x"},
        {"--flags", "-1", "--out", "x"}, {"--lat", "95", "--out", "x"}, {"--out"},
        {"--frames", "2", "--out", "x"}, {"--size", "100000x10", "--out", "x"},
        {"--out", ""}, {"--out", "x", "--json"}, {"--viewpoint", "", "--out", "x"},
    };
    for (const auto& arguments : bad) {
        EXPECT_FALSE(ParseRenderArguments(arguments, &r, &error)) << Joined(arguments);
    }
    ParseRenderArguments({"--lon", "x"}, &r, &error);
    EXPECT_EQ(error, "--lon wants degrees from -180 to 180 (east positive), not 'x'")
        << "the same words as the almanac";
    ParseRenderArguments({"--size", "2x2"}, &r, &error);
    EXPECT_EQ(error, "--out FILE is required");
}

class StoredOptionsFile : public testing::Test {
protected:
    std::vector<char> bytesOf(const UserOptions& options) const {
        const char* raw = reinterpret_cast<const char*>(&options);
        return std::vector<char>(raw, raw + sizeof options);
    }
    UserOptions defaults() const {
        UserOptions options;
        SetDefaultOptions(options);
        return options;
    }
    bool isDefaults(const UserOptions& options) const {
        const UserOptions d = defaults();
        return std::memcmp(&options, &d, sizeof d) == 0;
    }
    // A portable copy: the options beside the program are the user's own.
    void SetUp() override { folder.writeFile(folder.dir / "portable", {}); }
    ProgramFolder folder;
};

TEST_F(StoredOptionsFile, AGoodRecordIsTakenWhole) {
    UserOptions sydney = defaults();
    sydney.homeLatitude = -33.87f;
    sydney.homeLongitude = 151.21f;
    sydney.displayFlags = 0x20;
    SetFieldText(sydney.homeName, std::string("Sydney"));
    folder.writeFile(folder.optionsFile(), bytesOf(sydney));
    const UserOptions read = StoredOptions(folder.programPath());
    EXPECT_EQ(std::memcmp(&read, &sydney, sizeof read), 0);
}

TEST_F(StoredOptionsFile, MissingOrWrongSizeGivesTheDefaults) {
    EXPECT_TRUE(isDefaults(StoredOptions(folder.programPath())));
    std::vector<char> bytes = bytesOf(defaults());
    bytes[36] = 1;  // a home the defaults do not have, in a file one byte too long
    bytes.push_back(0);
    folder.writeFile(folder.optionsFile(), bytes);
    EXPECT_TRUE(isDefaults(StoredOptions(folder.programPath())));
    bytes.resize(sizeof(UserOptions) - 1);
    folder.writeFile(folder.optionsFile(), bytes);
    EXPECT_TRUE(isDefaults(StoredOptions(folder.programPath())));
}

TEST_F(StoredOptionsFile, AHomeOffTheEarthGivesTheDefaults) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, float> offEarth[] = {
        {90.001f, 0}, {-90.5f, 0}, {0, 180.01f}, {0, -181}, {nan, 0}, {0, nan}, {inf, 0}, {0, -inf}};
    for (auto [latitude, longitude] : offEarth) {
        UserOptions o = defaults();
        o.homeLatitude = latitude;
        o.homeLongitude = longitude;
        o.viewpoint = 7;
        folder.writeFile(folder.optionsFile(), bytesOf(o));
        EXPECT_FALSE(HomeIsOnEarth(o)) << latitude << " " << longitude;
        EXPECT_TRUE(isDefaults(StoredOptions(folder.programPath()))) << latitude << " " << longitude;
    }
    UserOptions corner = defaults();
    corner.homeLatitude = -90;
    corner.homeLongitude = 180;
    folder.writeFile(folder.optionsFile(), bytesOf(corner));
    EXPECT_EQ(StoredOptions(folder.programPath()).homeLongitude, 180.0f);
}

}  // namespace
