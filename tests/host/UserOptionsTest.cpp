#include "app/UserOptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

template <typename T>
T ReadAt(const UserOptions& options, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(&options) + offset, sizeof value);
    return value;
}

// The defaults as they must appear in the stored bytes, whatever the struct says.
TEST(UserOptions, DefaultsSitAtTheirOffsets) {
    UserOptions options;
    std::memset(&options, 0xAB, sizeof options);
    SetDefaultOptions(options);

    struct Word { std::size_t offset; uint32_t value; const char* field; };
    const Word words[] = {
        {0, 1, "units"},           {4, 0, "useHardware3D"},   {8, 0, "reserved"},
        {12, 1, "reserved"},       {16, 2, "viewpoint"},      {20, 0x559, "displayFlags"},
        {24, 6, "timeDisplay"},    {28, 1, "spinSpeed"},      {32, 0xC2A2C28F, "homeLongitude"},
        {36, 0x41E46666, "homeLatitude"}, {40, 0, "reserved"}, {44, 0, "reserved"},
        {112, 3, "noticeFlags"},   {180, 0, "timeZoneBias"},  {312, 0, "frameLeft"},
        {316, 0, "frameTop"},      {320, 570, "frameRight"},  {324, 520, "frameBottom"},
        {332, 37, "proxyPort"},    {408, 10, "wallpaperMinutes"},
        {412, 800, "wallpaperWidth"}, {416, 600, "wallpaperHeight"},
    };
    for (const Word& w : words) {
        EXPECT_EQ(ReadAt<uint32_t>(options, w.offset), w.value) << w.field << " at " << w.offset;
    }
    struct Byte { std::size_t offset; uint8_t value; const char* field; };
    const Byte bytes[] = {
        {328, 0, "detailsPaneHidden"}, {329, 0, "useProxy"}, {330, 0, "padding"},
        {331, 0, "padding"}, {400, 0, "wallpaperEnabled"}, {401, 1, "wallpaperFullDesktop"},
        {402, 1, "wallpaperMoonPhases"}, {403, 1, "startWithWindows"},
        {404, 0, "startInTrayOnly"}, {405, 0, "hideSplash"}, {406, 0, "wallpaperAcrossMonitors"},
        {407, 0, "padding"},
    };
    for (const Byte& b : bytes) {
        EXPECT_EQ(ReadAt<uint8_t>(options, b.offset), b.value) << b.field << " at " << b.offset;
    }
    const char* base = reinterpret_cast<const char*>(&options);
    EXPECT_STREQ(base + 48, "Orlando, FL");
    for (std::size_t i = 48 + 11; i < 112; ++i) EXPECT_EQ(base[i], 0) << "homeName tail " << i;
    for (std::size_t i = 116; i < 180; ++i) EXPECT_EQ(base[i], 0) << "timeZoneName " << i;
    for (std::size_t i = 184; i < 312; ++i) EXPECT_EQ(base[i], 0) << "customTimeServer " << i;
    for (std::size_t i = 336; i < 400; ++i) EXPECT_EQ(base[i], 0) << "proxyServer " << i;
    for (std::size_t i = 420; i < 488; ++i) EXPECT_EQ(base[i], 0) << "reserved " << i;
    EXPECT_FLOAT_EQ(options.homeLongitude, -81.38f);
    EXPECT_FLOAT_EQ(options.homeLatitude, 28.55f);
}

TEST(UserOptions, FieldTextStopsAtTheFieldsEdgeWithoutANul) {
    UserOptions options;
    SetDefaultOptions(options);
    std::memset(options.homeName, 'A', sizeof options.homeName);  // no NUL in the field
    options.noticeFlags = 0x42424242;                              // 'BBBB' right after it
    EXPECT_EQ(FieldText(options.homeName), std::string(64, 'A'));

    for (char16_t& c : options.timeZoneName) c = u'Z';
    options.timeZoneBias = 0x00430043;
    EXPECT_EQ(FieldText(options.timeZoneName), std::u16string(32, u'Z'));

    std::memset(options.proxyServer, 'p', sizeof options.proxyServer);
    EXPECT_EQ(FieldText(options.proxyServer).size(), 64u);
    std::memset(options.customTimeServer, 't', sizeof options.customTimeServer);
    EXPECT_EQ(FieldText(options.customTimeServer).size(), 128u);
}

TEST(UserOptions, SetFieldTextCutsAndTerminates) {
    UserOptions options;
    std::memset(&options, 0x55, sizeof options);
    SetFieldText(options.homeName, std::string(100, 'x'));
    EXPECT_EQ(FieldText(options.homeName), std::string(63, 'x'));
    EXPECT_EQ(options.homeName[63], '\0');
    EXPECT_EQ(options.noticeFlags, 0x55555555u) << "the next field is untouched";

    SetFieldText(options.homeName, std::string("Kiruna"));
    EXPECT_EQ(FieldText(options.homeName), "Kiruna");
    for (std::size_t i = 6; i < 64; ++i) EXPECT_EQ(options.homeName[i], '\0');
}

}  // namespace

namespace {

TEST(RepairImpossibleOptions, HomesOffTheEarthGetTheDefault) {
    UserOptions defaults;
    SetDefaultOptions(defaults);
    struct Case { float latitude, longitude; int32_t viewpoint; bool repaired; };
    const Case cases[] = {
        {51.5f, -0.1f, kViewSpinningGlobe, false}, {90, 180, kViewFromSun, false}, {-90, -180, kViewMouseDrag, false},
        {NAN, 10, kViewOverHome, true},            {10, NAN, kViewOverHome, true}, {90.01f, 0, kViewOverHome, true},
        {0, -180.5f, kViewOverHome, true},         {INFINITY, 0, kViewOverHome, true},
        {10, 20, 200, false},  // an unknown viewpoint draws the view from the Sun: kept
    };
    for (const Case& c : cases) {
        UserOptions o = defaults;
        o.homeLatitude = c.latitude;
        o.homeLongitude = c.longitude;
        o.viewpoint = c.viewpoint;
        SetFieldText(o.homeName, std::string("Somewhere"));
        EXPECT_EQ(RepairImpossibleOptions(o), c.repaired) << c.latitude << " " << c.longitude << " " << c.viewpoint;
        EXPECT_TRUE(std::fabs(o.homeLatitude) <= 90 && std::fabs(o.homeLongitude) <= 180);
        EXPECT_EQ(FieldText(o.homeName), "Somewhere") << "the name is the user's";
        if (!c.repaired) {
            EXPECT_EQ(o.homeLatitude, c.latitude);
            EXPECT_EQ(o.viewpoint, c.viewpoint);
        }
    }
}

}  // namespace
