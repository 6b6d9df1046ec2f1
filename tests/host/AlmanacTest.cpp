#include "EphemerisFixture.h"

#include "astro/FixedClock.h"
#include "app/ZoneRulesReading.h"
#include "cli/Almanac.h"
#include "cli/AlmanacEclipses.h"
#include "cli/AlmanacPlace.h"
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

// The next two eclipses from 2024-04-01 at Orlando: the total solar eclipse (greatest
// 18:18:29 TD in the NASA canon, 18:17:20 UTC), partial there, then the partial lunar one.
TEST_F(WithEphemeris, EclipsesComeLastInTheJson) {
    Almanac almanac = OrlandoAt("2024-04-01T00:00:00", 300);
    std::vector<Eclipse> eclipses;
    std::string error;
    double fileEndJd = 0;
    const EclipseHome orlando = {almanac.options.homeLatitude, almanac.options.homeLongitude, 0};
    EXPECT_FALSE(NextEclipses("/nonexistent/cheby", almanac.state.julianDate, 2, orlando, &eclipses, &fileEndJd, &error));
    EXPECT_FALSE(error.empty());
    ASSERT_TRUE(NextEclipses(SOLVANE_TEST_CHEBY, almanac.state.julianDate, 2, orlando, &eclipses, &fileEndJd, &error));
    almanac.eclipses = eclipses;
    const std::string json = AlmanacJson(almanac);
    EXPECT_NE(json.find("\n  \"eclipses\": [\n    {\"kind\": \"solar\", \"type\": \"total\", "
                        "\"greatest\": \"2024-04-08T18:17:20Z\", \"magnitude\": 1.05"),
              std::string::npos) << json;
    EXPECT_NE(json.find("\"home\": {\"visible\": true, \"contacts\": {\"C1\": \"2024-04-08T"), std::string::npos);
    EXPECT_NE(json.find("{\"kind\": \"lunar\", \"type\": \"partial\", \"greatest\": \"2024-09-18T02:44:"),
              std::string::npos);
    EXPECT_EQ(json.find("\"C2\""), std::string::npos) << "no totality at Orlando";
    EXPECT_EQ(json.substr(json.size() - 8), "}\n  ]\n}\n");
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

// A world place by name, in its own zone by the host's zone data, and the events of its local
// calendar day as local times.
TEST_F(WithEphemeris, PlaceByNameInItsOwnZone) {
    WorldPlaces places;
    ASSERT_EQ(places.loadFile(SOLVANE_TEST_WORLDPLACES), WorldPlacesCheck::Sound);
    LearnHostZoneNames(places);
    const struct {
        const char* typed;
        const char* utc;
        const char* name;
        const char* expected[3];  // in the place's JSON
        const char* page = "";    // in the text page
    } cases[] = {
        {"tokyo", "2027-06-21T14:30:00", "Tokyo",
         {"\"timeZone\": \"Tokyo Standard Time\", \"utcOffsetMinutes\": 540, \"localTime\": \"2027-06-21T23:30:00+09:00\"",
          "\"sunrise\": \"2027-06-21T04:25:", "\"sunset\": \"2027-06-21T19:00:"}},
        {"Honolulu", "2027-12-22T09:00:00", "Honolulu",
         {"\"localTime\": \"2027-12-21T23:00:00-10:00\", \"localDate\": \"2027-12-21\"",
          "\"sunrise\": \"2027-12-21T07:04:", "\"sunset\": \"2027-12-21T17:54:"}},
        // The day the clocks go forward: the offset of each instant.
        {"Sydney, AU", "2027-10-02T14:30:00", "Sydney",
         {"\"utcOffsetMinutes\": 600, \"localTime\": \"2027-10-03T00:30:00+10:00\"",
          "\"sunrise\": \"2027-10-03T06:", "+11:00\", \"dayLengthHours\": 12.4"},
         "Sunrise:             06:"},  // in daylight time, not the offset of 00:30
        {"kathmandu", "2027-03-01T00:00:00", "Kathmandu",
         {"\"timeZone\": \"Nepal Standard Time\", \"utcOffsetMinutes\": 345", "\"localDate\": \"2027-03-01\"",
          "\"localTime\": \"2027-03-01T05:45:00+05:45\""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        AlmanacRequest request;
        request.place = c.typed;
        PlaceChoice choice;
        std::string error;
        ASSERT_TRUE(ChoosePlace(request, places, &choice, &error));
        EXPECT_EQ(choice.name, c.name);
        const std::optional<ZoneRules> zone = ReadZoneRules(choice.zoneId);
        ASSERT_TRUE(zone);
        CivilTime utc;
        ASSERT_TRUE(ParseUtc(c.utc, &utc));
        Almanac almanac = OrlandoAt(c.utc, 0);
        almanac.place = ComputeAlmanacPlace(choice.name, choice.latitude, choice.longitude, *zone, SecondsOfUtc(utc));
        const std::string json = AlmanacJson(almanac);
        EXPECT_NE(json.find("\n  \"place\": {\"name\": \"" + std::string(c.name) + "\""), std::string::npos);
        for (const char* part : c.expected) EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
        EXPECT_NE(AlmanacPage(almanac).find(c.page), std::string::npos) << AlmanacPage(almanac);
    }
    AlmanacRequest unknown;
    unknown.place = "Qwzx\nQ";
    std::string error;
    PlaceChoice choice;
    EXPECT_FALSE(ChoosePlace(unknown, places, &choice, &error));
    EXPECT_EQ(error, "no world place is named 'Qwzx?Q'");
    SetHostZoneNames({});
}

}  // namespace
