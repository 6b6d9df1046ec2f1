#include "location/HomeCoordinates.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(HomeCoordinates, FieldsOfACoordinate) {
    struct Case { double degrees; DmsFields fields; const char* decimal; };
    const Case cases[] = {
        {28.55, {28, 33, 0}, "28.55000"},      {-81.38, {81, 22, 48}, "81.38000"},
        {0.999999, {1, 0, 0}, "1.00000"},      {-0.0001, {0, 0, 0}, "0.00010"},
        {90, {90, 0, 0}, "90.00000"},          {-179.99999, {180, 0, 0}, "179.99999"},
        {12.3456789, {12, 20, 44}, "12.34568"}, {0, {0, 0, 0}, "0.00000"},
    };
    for (const Case& c : cases) {
        const DmsFields f = DmsFieldsOf(c.degrees);
        EXPECT_EQ(f.degrees, c.fields.degrees) << c.degrees;
        EXPECT_EQ(f.minutes, c.fields.minutes) << c.degrees;
        EXPECT_EQ(f.seconds, c.fields.seconds) << c.degrees;
        EXPECT_EQ(DecimalFieldText(c.degrees), c.decimal) << c.degrees;
    }
}

TEST(HomeCoordinates, HemisphereRadios) {
    EXPECT_TRUE(ShowsNorth(0));
    EXPECT_TRUE(ShowsNorth(28.5));
    EXPECT_FALSE(ShowsNorth(-0.00001));
    EXPECT_FALSE(ShowsEast(0));  // longitude 0 shows West
    EXPECT_FALSE(ShowsEast(-81.38));
    EXPECT_TRUE(ShowsEast(0.00001));
}

// Switching to degrees, minutes and seconds rounds through the fields to whole seconds.
TEST(HomeCoordinates, SwitchingFormsRoundsToWholeSeconds) {
    struct Case { double degrees; double afterSwitch; };
    const Case cases[] = {
        {28.55, 28.55}, {-81.38, -81.38}, {12.3456789, 12 + 20 / 60.0 + 44 / 3600.0},
        {0.999999, 1.0}, {-45.00013, -45.0}, {-45.00014, -(45 + 1 / 3600.0)},
    };
    for (const Case& c : cases) {
        const DmsFields f = DmsFieldsOf(c.degrees);
        double back = 1234;
        ASSERT_TRUE(CoordinateFromDms(f.degrees, f.minutes, f.seconds, c.degrees < 0, back)) << c.degrees;
        EXPECT_NEAR(back, c.afterSwitch, 1e-12) << c.degrees;
    }
}

// Minutes and seconds of 60 or more are refused rather than carried into the degrees.
TEST(HomeCoordinates, TypedFieldsKeepTheirArithmetic) {
    struct Case { unsigned degrees, minutes, seconds; bool negative; double coordinate; };
    const Case taken[] = {
        {81, 22, 48, true, -81.38}, {0, 0, 0, true, 0}, {33, 59, 59, false, 33 + 59 / 60.0 + 59 / 3600.0},
        {999, 0, 0, false, 999},  // out of range, but refused later with its own message
    };
    for (const Case& c : taken) {
        double coordinate = 1234;
        ASSERT_TRUE(CoordinateFromDms(c.degrees, c.minutes, c.seconds, c.negative, coordinate)) << c.degrees;
        EXPECT_DOUBLE_EQ(coordinate, c.coordinate) << c.degrees;
    }
    const Case refused[] = {{33, 75, 0}, {33, 60, 0}, {10, 0, 60}, {10, 0, 99}, {89, 99, 99}, {0, 60, 0, true}};
    for (const Case& c : refused) {
        double coordinate = 1234;
        EXPECT_FALSE(CoordinateFromDms(c.degrees, c.minutes, c.seconds, c.negative, coordinate))
            << c.degrees << " " << c.minutes << " " << c.seconds;
        EXPECT_EQ(coordinate, 1234);
    }
}

TEST(HomeCoordinates, DecimalTextTheRadioGivesTheSign) {
    struct Case { const char* text; bool negative; double degrees; };
    const Case cases[] = {
        {"28.55", false, 28.55},  {"28.55", true, -28.55}, {"-10", true, -10},
        {"-10", false, 10},       {" 7.5 ", false, 7.5},  {"1e1", false, 10},
        // Only the first 15 characters count.
        {"12.345678901234999", false, 12.345678901234},
    };
    for (const Case& c : cases) {
        double degrees = 1234;
        ASSERT_TRUE(CoordinateFromDecimalText(c.text, c.negative, degrees)) << c.text;
        EXPECT_DOUBLE_EQ(degrees, c.degrees) << c.text;
    }
    for (const char* text : {"", "   ", "north", "12,5", "12.5x", "nan", "inf", "1e999", "--3"}) {
        double degrees = 1234;
        EXPECT_FALSE(CoordinateFromDecimalText(text, false, degrees)) << text;
        EXPECT_EQ(degrees, 1234) << text;
    }
}

TEST(HomeCoordinates, NamesCutWithoutTrailingBlanks) {
    EXPECT_EQ(CutName("Orlando, FL"), "Orlando, FL");
    EXPECT_EQ(CutName("Ends in a blank "), "Ends in a blank ") << "only a cut trims";
    EXPECT_EQ(CutName(std::string(31, 'x')), std::string(31, 'x'));
    EXPECT_EQ(CutName(std::string(30, 'x') + " y"), std::string(30, 'x'));
    EXPECT_EQ(CutName(std::string(28, 'x') + " \t  yz"), std::string(28, 'x'));
    EXPECT_EQ(CutName(std::string(40, ' ')), "");
    EXPECT_EQ(CutName("Hilo Bay", 5), "Hilo");
}

TEST(HomeCoordinates, OnlyPlacesOnTheGlobeAreStored) {
    EXPECT_TRUE(IsValidHomeCoordinate(90, 180));
    EXPECT_TRUE(IsValidHomeCoordinate(-90, -180));
    EXPECT_TRUE(IsValidHomeCoordinate(0, 0));
    EXPECT_FALSE(IsValidHomeCoordinate(90.0003, 0));
    EXPECT_FALSE(IsValidHomeCoordinate(0, -180.0003));
    EXPECT_FALSE(IsValidHomeCoordinate(NAN, 0));
    EXPECT_FALSE(IsValidHomeCoordinate(0, INFINITY));
}

}  // namespace
