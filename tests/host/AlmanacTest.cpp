#include "EphemerisFixture.h"

#include "astro/FixedClock.h"
#include "cli/Almanac.h"
#include "cli/Arguments.h"

#include <regex>

namespace {

// The almanac at Orlando, the default home, for a UTC instant and a time-zone bias.
Almanac OrlandoAt(const char* utcText, int bias) {
    UserOptions options;
    SetDefaultOptions(options);
    options.timeZoneBias = bias;
    CivilTime utc;
    EXPECT_TRUE(ParseUtc(utcText, &utc));
    FixedClock clock(utc, bias);
    return ComputeAlmanac(options, clock);
}

TEST_F(WithEphemeris, JsonHasExactlyTheDocumentedKeys) {
    const std::string json = AlmanacJson(OrlandoAt("2026-12-08T14:00:00", 300));
    std::vector<std::string> keys;
    const std::regex top("\n  \"([A-Za-z]+)\": ");
    for (std::sregex_iterator it(json.begin(), json.end(), top), end; it != end; ++it) {
        keys.push_back((*it)[1]);
    }
    const std::vector<std::string> expected = {
        "julianDate", "meanObliquity", "trueObliquity", "equationOfEquinoxes",
        "nutationLongitude", "nutationObliquity", "greenwichSiderealTime", "localSiderealTime",
        "sun", "moon", "events", "moonIllumination", "moonPhaseAngle", "phases"};
    EXPECT_EQ(keys, expected);
    EXPECT_NE(json.find("\"events\": {\"localDate\": \"2026-12-08\", \"sunrise\": "), std::string::npos);
    EXPECT_NE(json.find("\"sun\": {\"x\": "), std::string::npos);
    EXPECT_NE(json.find("\"name\": \"New Moon\", \"label\": \"Dec 9\""), std::string::npos);
    EXPECT_NE(json.find("\"julianDate\": 2461383.0833333335,"), std::string::npos);
}

TEST_F(WithEphemeris, PageShowsTheProgramsTexts) {
    const std::string page = AlmanacPage(OrlandoAt("2026-12-08T14:00:00", 300));
    EXPECT_NE(page.find("December 8, 2026 09:00:00 AM"), std::string::npos);
    EXPECT_NE(page.find("Sunrise:             07:06 a.m."), std::string::npos) << page;
    EXPECT_NE(page.find("Sunset:              05:29 p.m."), std::string::npos) << page;
    EXPECT_NE(page.find("28\xB0 33' 00\" N"), std::string::npos);
}

TEST_F(WithEphemeris, InstantsOutsideTheEphemerisEndWithItsMessage) {
    EXPECT_EXIT(OrlandoAt("2070-01-01T00:00:00", 0), testing::ExitedWithCode(1),
                "GetStateVector: requested date not covered by ephemeris file.");
}

}  // namespace
