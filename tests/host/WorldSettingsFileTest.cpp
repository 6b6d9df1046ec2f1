#include "app/WorldSettingsFile.h"
#include "app/WorldSettingsStore.h"

#include "OptionsTestDoubles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Lines joined by "|", as a file with CRLF line ends.
std::string Lines(std::string text) {
    for (std::size_t at; (at = text.find('|')) != std::string::npos;) text.replace(at, 1, "\r\n");
    return text + "\r\n";
}

std::string Place(int number, const char* name, const char* lat, const char* lon, const char* zone,
                  const char* more = "") {
    return "[Place" + std::to_string(number) + "]|Name=" + name + "|Latitude=" + lat + "|Longitude=" + lon +
           "|TimeZone=" + zone + more;
}

// What a reading gave, in a few words: "zone;showPlaces;name,name", "+bands" with the bands.
std::string Summary(const WorldSettings& s) {
    std::string names;
    for (const PlaceSetting& p : s.places) names += (names.empty() ? "" : ",") + p.name + (p.show ? "" : "(hidden)");
    return s.homeTimeZone + ";" + std::to_string(s.showPlaces) + ";" + names + (s.twilightBands ? "+bands" : "");
}

TEST(WorldSettingsFile, ReadsWhatItCanAndListsTheLinesOfWhatItCannot) {
    std::string thirtyThree, firstThirtyTwo = ";1;P1";
    for (int i = 33; i >= 1; --i) thirtyThree += "|" + Place(i, ("P" + std::to_string(i)).c_str(), "1", "2", "UTC");
    for (int i = 2; i <= 32; ++i) firstThirtyTwo += ",P" + std::to_string(i);
    const struct {
        std::string text;
        const char* expected;  // Summary()
        std::vector<int> skipped;
    } rows[] = {
        {"", ";1;", {}},
        {"[Home]|TimeZone=AUS Eastern Standard Time|[Display]|ShowPlaces=0|" +
             Place(1, "Tokyo", "35.6895", "139.69171", "Tokyo Standard Time", "|Show=1"),
         "AUS Eastern Standard Time;0;Tokyo", {}},
        {"[home]|timezone=|[Display]|ShowPlaces=yes", ";1;", {4}},
        {"[Display]|TwilightBands=1", ";1;+bands", {}},
        {"[Display]|TwilightBands=on", ";1;", {2}},
        {"[Home]|TimeZone=..\\..\\Run", ";1;", {2}},
        // In the order of the numbers; gaps and other sections are no matter.
        {Place(10, "Ten", "-90", "180", "UTC") + "|Show=0|[Placement]|Name=x|[Place01]|Name=y|" +
             Place(2, "Two", "+1e1", "-180", "UTC"),
         ";1;Two,Ten(hidden)", {}},
        {Place(1, "Bad latitude", "90.5", "0", "UTC") + "|" + Place(2, "Comma", "35,6", "0", "UTC") + "|" +
             Place(3, "Not finite", "0", "inf", "UTC") + "|" + Place(4, "Zone", "0", "0", "a\\b") + "|" +
             Place(5, "  ", "0", "0", "UTC") + "|[Place6]|Name=No zone|Latitude=0|Longitude=0|" +
             Place(7, "Show", "0", "0", "UTC", "|Show=2") + "|" + Place(8, "Good", "0", "0", "UTC"),
         ";1;Good", {3, 8, 14, 20, 22, 26, 35}},
        {thirtyThree.substr(1), firstThirtyTwo.c_str(), {1}},
    };
    for (const auto& row : rows) {
        std::vector<int> skipped;
        const WorldSettings read = ReadWorldSettings(IniFile(Lines(row.text)), skipped);
        EXPECT_EQ(Summary(read), row.expected) << row.text;
        EXPECT_EQ(skipped, row.skipped) << row.text;
    }
}

// The list changed in the clock, written onto a file a user edited: the places are renumbered in
// the list's order where the first stood; a place still there keeps its own extra lines; the
// places the reading left out keep their sections after the list's; the rest stays.
TEST(WorldSettingsFile, WritesOnlyWhatChangedOntoTheFilesOwnLines) {
    const std::string kFile = Lines(
        "; mine|[Home]|TimeZone=Tokyo Standard Time|[Display]|ShowPlaces=1|[Other]|Key=1||"
        "[Place1]|Name=Tokyo|Latitude=35.68950|Longitude=139.69171|TimeZone=Tokyo Standard Time|Note=family|"
        "not a setting|"
        "[Place2]|Name=Broken|Latitude=north|Longitude=0|TimeZone=UTC|"
        "[Place3]|Name=Oslo|Latitude=59.91|Longitude=10.75|TimeZone=W. Europe Standard Time|Show=1||"
        "; the end|[After]|Kept=1");
    const PlaceSetting sydney{"Sydney", -33.86785, 151.20732, "AUS Eastern Standard Time", false};
    const struct {
        const char* what;
        std::function<void(WorldSettings&)> change;
        std::string expected;
    } rows[] = {
        {"nothing", [](WorldSettings&) {}, kFile},
        {"the home's zone, back to this PC's, and the display choice",
         [](WorldSettings& w) { w.homeTimeZone.clear(); w.showPlaces = false; },
         Lines("; mine|[Home]|[Display]|ShowPlaces=0|[Other]|Key=1||"
               "[Place1]|Name=Tokyo|Latitude=35.68950|Longitude=139.69171|TimeZone=Tokyo Standard Time|Note=family|"
               "not a setting|"
               "[Place2]|Name=Broken|Latitude=north|Longitude=0|TimeZone=UTC|"
               "[Place3]|Name=Oslo|Latitude=59.91|Longitude=10.75|TimeZone=W. Europe Standard Time|Show=1||"
               "; the end|[After]|Kept=1")},
        {"the twilight bands", [](WorldSettings& w) { w.twilightBands = true; },
         Lines("; mine|[Home]|TimeZone=Tokyo Standard Time|[Display]|ShowPlaces=1|TwilightBands=1|[Other]|Key=1||"
               "[Place1]|Name=Tokyo|Latitude=35.68950|Longitude=139.69171|TimeZone=Tokyo Standard Time|Note=family|"
               "not a setting|"
               "[Place2]|Name=Broken|Latitude=north|Longitude=0|TimeZone=UTC|"
               "[Place3]|Name=Oslo|Latitude=59.91|Longitude=10.75|TimeZone=W. Europe Standard Time|Show=1||"
               "; the end|[After]|Kept=1")},
        {"reordered, one added, one renamed and hidden",
         [&](WorldSettings& w) {
             std::swap(w.places[0], w.places[1]);
             w.places[1].name = "\xE6\x9D\xB1\xE4\xBA\xAC";
             w.places[1].show = false;
             w.places.push_back(sydney);
         },
         Lines("; mine|[Home]|TimeZone=Tokyo Standard Time|[Display]|ShowPlaces=1|[Other]|Key=1||"
               "[Place1]|Name=Oslo|Latitude=59.91|Longitude=10.75|TimeZone=W. Europe Standard Time|Show=1|"
               "[Place2]|Name=\xE6\x9D\xB1\xE4\xBA\xAC|Latitude=35.68950|Longitude=139.69171|"
               "TimeZone=Tokyo Standard Time|Note=family|not a setting|Show=0|"
               "[Place3]|Name=Sydney|Latitude=-33.86785|Longitude=151.20732|TimeZone=AUS Eastern Standard Time|Show=0|"
               "[Place4]|Name=Broken|Latitude=north|Longitude=0|TimeZone=UTC||"
               "; the end|[After]|Kept=1")},
    };
    for (const auto& row : rows) {
        IniFile file(kFile);
        std::vector<int> skipped;
        WorldSettings settings = ReadWorldSettings(file, skipped);
        EXPECT_EQ(skipped, std::vector<int>{18}) << "the place's latitude";
        EXPECT_EQ(file.damagedLines(), std::vector<int>{15});
        row.change(settings);
        WriteWorldSettings(settings, file);
        EXPECT_EQ(file.text(), row.expected) << row.what;
        skipped.clear();
        EXPECT_EQ(ReadWorldSettings(file, skipped), settings) << row.what << ": read again";
    }
}

// The clock's own keeping of the file: nothing written while nothing changed; a hand edit made
// while it runs survives the next save and counts in the program from then on; a file that
// cannot be written is left as it was.
TEST(WorldSettingsStore, ReadsTheFileAgainAndKeepsAHandEdit) {
    ProgramFolder folder;
    const std::filesystem::path path = folder.dir / "Solvane.ini";
    const auto write = [&](const std::string& text) { folder.writeFile(path, {text.begin(), text.end()}); };
    const auto read = [&] {
        const std::vector<char> bytes = folder.readFile(path);
        return std::string(bytes.begin(), bytes.end());
    };
    write("[Home]\nTimeZone=UTC\n[Diagnostics]\nLog=1\n");
    WorldSettingsStore store;
    store.setPath(path.string());
    IniFile file;
    std::vector<int> skipped;
    ASSERT_TRUE(store.load(file, skipped));
    EXPECT_EQ(file.find("Diagnostics", "Log")->value, "1");
    WorldSettings current = store.stored();
    EXPECT_EQ(current.homeTimeZone, "UTC");
    EXPECT_TRUE(store.save(current));
    EXPECT_EQ(read(), "[Home]\nTimeZone=UTC\n[Diagnostics]\nLog=1\n") << "not written: nothing changed";

    // By hand, meanwhile: another zone and a key of the user's; in the clock: a place.
    write("[Home]\nTimeZone=Tokyo Standard Time\nMine=1\n[Diagnostics]\nLog=1\n");
    current.places.push_back({"Oslo", 59.91, 10.75, "W. Europe Standard Time", true});
    ASSERT_TRUE(store.save(current));
    EXPECT_EQ(read(), Lines("[Home]|TimeZone=Tokyo Standard Time|Mine=1|[Diagnostics]|Log=1|"
                            "[Place1]|Name=Oslo|Latitude=59.91|Longitude=10.75|TimeZone=W. Europe Standard Time|Show=1"));
    EXPECT_EQ(current.homeTimeZone, "Tokyo Standard Time") << "the hand edit counts in the program";
    EXPECT_EQ(store.stored(), current);

    const std::string before = read();
    current.homeTimeZone = "UTC";
    std::string failure;
    {
        FullDisk full;
        EXPECT_FALSE(store.save(current, &failure));
    }
    EXPECT_FALSE(failure.empty()) << "the system's reason";
    EXPECT_EQ(read(), before);
    EXPECT_EQ(current.homeTimeZone, "UTC") << "the change lives on, for the next save";
    ASSERT_TRUE(store.save(current));
    EXPECT_EQ(read(), Lines("[Home]|TimeZone=UTC|Mine=1|[Diagnostics]|Log=1|"
                            "[Place1]|Name=Oslo|Latitude=59.91|Longitude=10.75|TimeZone=W. Europe Standard Time|Show=1"));

    // A place renamed by hand is taken on before the clock changes the list again, so the
    // clock's next change (a second place) keeps the new name.
    EXPECT_FALSE(store.followFile(current)) << "the file is as the clock wrote it";
    const std::string renamed = read().replace(read().find("Name=Oslo"), 9, "Name=Oslo HQ");
    write(renamed);
    ASSERT_TRUE(store.followFile(current));
    EXPECT_EQ(current.places.at(0).name, "Oslo HQ");
    EXPECT_EQ(read(), renamed) << "taking an edit on writes nothing";
    current.places.push_back({"Tokyo", 35.6895, 139.69171, "Tokyo Standard Time", true});
    ASSERT_TRUE(store.save(current));
    EXPECT_NE(read().find("Name=Oslo HQ"), std::string::npos);
}

}  // namespace
