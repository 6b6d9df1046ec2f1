#include "app/IniFile.h"

#include <gtest/gtest.h>

namespace {

TEST(IniFile, ReadsSectionsKeysAndSkipsWhatItCannotRead) {
    const IniFile file = ParseIni(
        "\xEF\xBB\xBF; a comment\r\n"
        "[Diagnostics]\r\n"
        "  Log = 1  \r\n"
        "\n"
        "# another comment\n"
        "no equals sign\n"          // 6
        "=value without key\n"      // 7
        "[Home]\n"
        "TimeZone=AUS Eastern Standard Time\n"
        "Name=Z\xC3\xBCrich\n"
        "Bad=\xC3\x28\n"            // 11: not UTF-8
        "Nul=a\x01z\n"              // 12: a control character
        "log=0\n"                   // another section's key of the same name
        "timezone=second one\n"     // the first of two equal keys counts
        "[]\n"                      // 15
        "[Unclosed\n"               // 16
        "Orphan=1\n"                // 17: under no section it could belong to
        "[Display]\n"
        "Empty=");
    const struct {
        const char* section;
        const char* key;
        const char* value;  // null: no such key
    } rows[] = {
        {"Diagnostics", "Log", "1"},
        {"diagnostics", "LOG", "1"},
        {"Home", "TimeZone", "AUS Eastern Standard Time"},
        {"Home", "Name", "Z\xC3\xBCrich"},
        {"Home", "log", "0"},
        {"Display", "Empty", ""},
        {"Home", "Bad", nullptr},
        {"Unclosed", "Orphan", nullptr},
        {"Home", "Orphan", nullptr},
        {"Nowhere", "Log", nullptr},
    };
    for (const auto& row : rows) {
        const IniEntry* entry = file.find(row.section, row.key);
        if (row.value == nullptr) {
            EXPECT_EQ(entry, nullptr) << row.section << "/" << row.key;
        } else {
            ASSERT_NE(entry, nullptr) << row.section << "/" << row.key;
            EXPECT_EQ(entry->value, row.value) << row.section << "/" << row.key;
        }
    }
    EXPECT_EQ(file.find("Home", "TimeZone")->line, 9);
    EXPECT_EQ(file.damagedLines(), (std::vector<int>{6, 7, 11, 12, 15, 16, 17}));
}

TEST(IniFile, SwitchesAreOneOrZero) {
    const IniFile file = ParseIni("[D]\nOn=1\nOff=0\nOther=yes\nBlank=\n");
    EXPECT_EQ(IniSwitch(file, "D", "On"), true);
    EXPECT_EQ(IniSwitch(file, "D", "Off"), false);
    EXPECT_EQ(IniSwitch(file, "D", "Missing"), false);
    EXPECT_EQ(IniSwitch(file, "D", "Other"), std::nullopt);
    EXPECT_EQ(IniSwitch(file, "D", "Blank"), std::nullopt);
    EXPECT_TRUE(ParseIni("").entries().empty());
    EXPECT_TRUE(ParseIni("\xEF\xBB\xBF").damagedLines().empty());
    EXPECT_EQ(ParseIni("[D]\nk\xF8\x80\x80=1\n").damagedLines(), std::vector<int>{2}) << "no UTF-8 lead byte";
}

}  // namespace
