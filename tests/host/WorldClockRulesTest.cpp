#include "app/UserOptions.h"
#include "desktop/WorldClockRows.h"
#include "desktop/WorldPlaceEdits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

PlaceSetting Place(const std::string& name, double latitude = 35.6895, double longitude = 139.69171) {
    return {name, latitude, longitude, "Tokyo Standard Time", true};
}

std::string Names(const WorldSettings& world) {
    std::string names;
    for (const PlaceSetting& p : world.places) names += p.name + ";";
    return names;
}

TEST(WorldClockRules, OffsetsAndDayLengths) {
    const struct {
        int32_t minutes;
        const char* text;
    } offsets[] = {{0, "UTC"}, {540, "UTC+9"}, {330, "UTC+5:30"}, {345, "UTC+5:45"}, {-210, "UTC-3:30"},
                   {-600, "UTC-10"}, {-30, "UTC-0:30"}, {840, "UTC+14"}};
    for (const auto& o : offsets) EXPECT_EQ(UtcOffsetText(o.minutes), o.text) << o.minutes;
    const struct {
        double hours;
        const char* text;
    } lengths[] = {{9.75, "9:45"}, {24, "24:00"}, {0, "0:00"}, {12.4999, "12:30"}, {23.999, "24:00"},
                   {-1, "0:00"}, {30, "24:00"}, {std::nan(""), "0:00"}};
    for (const auto& l : lengths) EXPECT_EQ(DayLengthText(l.hours), l.text) << l.hours;
}

// The date shows only where the place's calendar day is not the PC's; a missing event is a dash.
TEST(WorldClockRules, RowShowsTheDateOnlyWhereItDiffers) {
    UserOptions options;
    SetDefaultOptions(options);
    options.displayFlags |= kLocalTime24Hour;
    CivilTime pcToday;
    pcToday.year = 2027;
    pcToday.month = 3;
    pcToday.day = 31;
    PlaceClock tokyo;
    tokyo.local = pcToday;
    tokyo.local.hour = 23;
    tokyo.local.minute = 7;
    tokyo.utcOffsetMinutes = 540;
    CivilTime rise = tokyo.local;
    rise.hour = 5;
    rise.minute = 32;
    tokyo.sunrise = rise;
    tokyo.dayLengthHours = 12.5;
    PlaceRowTexts row = FormatPlaceRow(tokyo, pcToday, options);
    EXPECT_EQ(row.time, "23:07");
    EXPECT_EQ(row.date, "");
    EXPECT_EQ(row.offset, "UTC+9");
    EXPECT_EQ(row.sunrise, "05:32");
    EXPECT_EQ(row.sunset, "-");
    EXPECT_EQ(row.dayLength, "12:30");
    for (auto [year, month, day] : {std::tuple{2027, 4, 1}, {2027, 3, 30}, {2026, 3, 31}, {2027, 2, 31}}) {
        tokyo.local.year = year;
        tokyo.local.month = month;
        tokyo.local.day = day;
        EXPECT_NE(FormatPlaceRow(tokyo, pcToday, options).date, "") << year << "-" << month << "-" << day;
    }
    options.displayFlags &= ~kLocalTime24Hour;
    EXPECT_EQ(FormatPlaceRow(tokyo, pcToday, options).time, "11:07 p.m.");
}

TEST(WorldClockRules, AddingRefusesWhatCannotBeKept) {
    WorldSettings world;
    EXPECT_EQ(AddPlace(world, Place("  Tokyo ")), PlaceAdded::Added);
    EXPECT_EQ(world.places.back().name, "Tokyo") << "trimmed";
    EXPECT_EQ(AddPlace(world, Place(" \t")), PlaceAdded::NoName);
    EXPECT_EQ(AddPlace(world, Place("North", 90.5, 0)), PlaceAdded::BadCoordinates);
    EXPECT_EQ(AddPlace(world, Place("East", 0, 180.01)), PlaceAdded::BadCoordinates);
    EXPECT_EQ(AddPlace(world, Place("Nowhere", std::nan(""), 0)), PlaceAdded::BadCoordinates);
    PlaceSetting noZone = Place("Zoneless");
    noZone.timeZone.clear();
    EXPECT_EQ(AddPlace(world, noZone), PlaceAdded::NoZone);
    EXPECT_EQ(world.places.size(), 1u);
    while (world.places.size() < kMostWorldPlaces) {
        ASSERT_EQ(AddPlace(world, Place("P" + std::to_string(world.places.size()), -90, -180)), PlaceAdded::Added);
    }
    const WorldSettings full = world;
    EXPECT_EQ(AddPlace(world, Place("Sydney")), PlaceAdded::ListFull);
    EXPECT_EQ(world, full);
}

TEST(WorldClockRules, RemoveRenameMoveAndShowStayInBounds) {
    WorldSettings world;
    for (const char* name : {"Tokyo", "Sydney", "Lima"}) AddPlace(world, Place(name));
    EXPECT_TRUE(MovePlace(world, 2, -1));
    EXPECT_EQ(Names(world), "Tokyo;Lima;Sydney;");
    EXPECT_FALSE(MovePlace(world, 0, -1));
    EXPECT_FALSE(MovePlace(world, 2, 1));
    EXPECT_FALSE(MovePlace(world, 0, 2));
    EXPECT_FALSE(MovePlace(world, 3, -1));
    EXPECT_TRUE(MovePlace(world, 0, 1));
    EXPECT_EQ(Names(world), "Lima;Tokyo;Sydney;");
    EXPECT_TRUE(RenamePlace(world, 1, " Tōkyō "));
    EXPECT_FALSE(RenamePlace(world, 1, "Tōkyō")) << "unchanged";
    EXPECT_FALSE(RenamePlace(world, 1, "  "));
    EXPECT_FALSE(RenamePlace(world, 3, "Quito"));
    EXPECT_EQ(Names(world), "Lima;Tōkyō;Sydney;");
    EXPECT_TRUE(ShowPlace(world, 2, false));
    EXPECT_FALSE(ShowPlace(world, 2, false));
    EXPECT_FALSE(world.places[2].show);
    EXPECT_FALSE(RemovePlace(world, 3));
    EXPECT_TRUE(RemovePlace(world, 0));
    EXPECT_EQ(Names(world), "Tōkyō;Sydney;");
}

TEST(WorldClockRules, TypedDegrees) {
    const struct {
        const char* typed;
        double limit;
        bool read;
        double degrees;
    } cases[] = {{"35.6895", 90, true, 35.6895}, {" -33.87 ", 90, true, -33.87}, {"90", 90, true, 90},
                 {"90.01", 90, false, 0},        {"-180", 180, true, -180},      {"", 90, false, 0},
                 {"12abc", 90, false, 0},        {"nan", 90, false, 0},          {"inf", 180, false, 0},
                 {"35,5", 90, false, 0}};
    for (const auto& c : cases) {
        const std::optional<double> read = ReadDegrees(c.typed, c.limit);
        EXPECT_EQ(read.has_value(), c.read) << c.typed;
        if (read && c.read) {
            EXPECT_DOUBLE_EQ(*read, c.degrees) << c.typed;
        }
    }
}

}  // namespace
