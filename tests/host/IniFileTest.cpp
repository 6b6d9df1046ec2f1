#include "app/IniFile.h"

#include <gtest/gtest.h>

#include <functional>

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

// Each edit changes only its own lines: comments, blank lines, unknown keys and sections and
// lines that cannot be read are written out as they stand, with CRLF line ends.
TEST(IniFile, EditsKeepEveryLineTheyDoNotTouch) {
    const char* const kFile =
        "\xEF\xBB\xBF; made by hand\n"
        "[Home]\n"
        "  timezone = Tokyo Standard Time\n"
        "Unknown=kept\n"
        "not a setting\n"
        "\n"
        "; the places follow\n"
        "[Place1]\n"
        "Name=Z\xC3\xBCrich\n"
        "[Other]\n"
        "Name=x\n"
        "[home]\n"
        "TimeZone=second\n"
        "[Broken\n"
        "Orphan=1";
    const struct {
        const char* what;
        std::function<void(IniFile&)> edit;
        const char* expected;  // the lines after the byte-order mark, joined by "|"
    } rows[] = {
        {"a key's line replaced, spelled as it was",
         [](IniFile& f) { f.set("HOME", "TimeZone", "  UTC\r\nInjected=1 "); },
         "; made by hand|[Home]|timezone=UTC  Injected=1|Unknown=kept|not a setting||; the places follow|"
         "[Place1]|Name=Z\xC3\xBCrich|[Other]|Name=x|[home]|TimeZone=second|[Broken|Orphan=1"},
        {"a new key at the end of its section's last block",
         [](IniFile& f) { f.set("Home", "Added", "1"); },
         "; made by hand|[Home]|  timezone = Tokyo Standard Time|Unknown=kept|not a setting||; the places follow|"
         "[Place1]|Name=Z\xC3\xBCrich|[Other]|Name=x|[home]|TimeZone=second|Added=1|[Broken|Orphan=1"},
        {"a new key after the last line of a section, before what leads to the next",
         [](IniFile& f) { f.set("Place1", "Show", "0"); },
         "; made by hand|[Home]|  timezone = Tokyo Standard Time|Unknown=kept|not a setting||; the places follow|"
         "[Place1]|Name=Z\xC3\xBCrich|Show=0|[Other]|Name=x|[home]|TimeZone=second|[Broken|Orphan=1"},
        {"a new section at the end",
         [](IniFile& f) { f.set("Display", "ShowPlaces", "0"); },
         "; made by hand|[Home]|  timezone = Tokyo Standard Time|Unknown=kept|not a setting||; the places follow|"
         "[Place1]|Name=Z\xC3\xBCrich|[Other]|Name=x|[home]|TimeZone=second|[Broken|Orphan=1|[Display]|ShowPlaces=0"},
        {"every line of a key, in its section only",
         [](IniFile& f) { f.remove("Home", "TimeZone"); f.remove("Home", "Missing"); },
         "; made by hand|[Home]|Unknown=kept|not a setting||; the places follow|"
         "[Place1]|Name=Z\xC3\xBCrich|[Other]|Name=x|[home]|[Broken|Orphan=1"},
        {"a section's blocks, not the comment leading to the next",
         [](IniFile& f) { f.removeSection("home"); },
         "; made by hand||; the places follow|[Place1]|Name=Z\xC3\xBCrich|[Other]|Name=x|[Broken|Orphan=1"},
        {"a section renamed, taken out and put back at the start",
         [](IniFile& f) {
             IniFile place = f.takeSection("Place1");
             place.renameSection("place1", "Place2");
             f.insert(1, place);
         },
         "[Place2]|Name=Z\xC3\xBCrich|; made by hand|[Home]|  timezone = Tokyo Standard Time|Unknown=kept|"
         "not a setting||; the places follow|[Other]|Name=x|[home]|TimeZone=second|[Broken|Orphan=1"},
    };
    for (const auto& row : rows) {
        IniFile file(kFile);
        row.edit(file);
        std::string expected = std::string("\xEF\xBB\xBF") + row.expected + "\r\n";
        for (std::size_t at; (at = expected.find('|')) != std::string::npos;) expected.replace(at, 1, "\r\n");
        EXPECT_EQ(file.text(), expected) << row.what;
        EXPECT_EQ(IniFile(file.text()).text(), file.text()) << row.what << ": read again, the same";
    }
    IniFile file(kFile);
    file.set("Home", "TimeZone", "UTC");
    EXPECT_EQ(file.find("Home", "TimeZone")->value, "UTC");
    EXPECT_EQ(file.damagedLines(), (std::vector<int>{5, 14, 15})) << "the lines that cannot be read stay";
    EXPECT_EQ(IniFile("[A]\nk=1").text(), "[A]\r\nk=1\r\n") << "no byte-order mark added";
}

}  // namespace
