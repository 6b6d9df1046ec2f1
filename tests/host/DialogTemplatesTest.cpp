// The dialog templates as the keyboard meets them: within a dialog no two controls answer the
// same Alt+letter, and each group of radio buttons is one stop of the Tab key.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Control {
    std::string keyword, text, style;
};

struct DialogTemplate {
    std::string name;
    std::vector<Control> controls;
};

// The DIALOGEX templates of a resource script, their controls in order.
std::vector<DialogTemplate> ReadDialogs(const std::string& path) {
    std::ifstream file(path);
    std::vector<DialogTemplate> dialogs;
    const std::regex header(R"(^(\w+)\s+DIALOGEX\b)");
    const std::regex control(R"re(^\s+(\w+)\s+(?:"((?:[^"]|"")*)"\s*,)?(.*)$)re");
    bool opened = false, inside = false;  // a template's header seen; within its BEGIN and END
    for (std::string line; std::getline(file, line);) {
        std::smatch match;
        if (std::regex_search(line, match, header)) {
            dialogs.push_back({match[1], {}});
            opened = true;
        } else if (opened && line.rfind("BEGIN", 0) == 0) {
            opened = false;
            inside = true;
        } else if (line.rfind("END", 0) == 0) {
            inside = false;
        } else if (inside && std::regex_match(line, match, control)) {
            dialogs.back().controls.push_back({match[1], match[2], match[3]});
        }
    }
    return dialogs;
}

bool Has(const std::string& style, const std::string& flag) {
    return std::regex_search(style, std::regex("(^|[^\\w])" + flag + "\\b")) &&
           !std::regex_search(style, std::regex("NOT\\s+" + flag + "\\b"));
}

// The Alt+letter a control's text gives, or 0.
char Mnemonic(const Control& c) {
    if (Has(c.style, "SS_NOPREFIX")) return 0;
    for (std::size_t i = 0; i + 1 < c.text.size(); ++i) {
        if (c.text[i] != '&') continue;
        if (c.text[i + 1] == '&') {
            ++i;
            continue;
        }
        return char(std::tolower(static_cast<unsigned char>(c.text[i + 1])));
    }
    return 0;
}

bool IsRadio(const Control& c) { return c.keyword == "AUTORADIOBUTTON" || c.keyword == "RADIOBUTTON"; }

class DialogTemplates : public testing::TestWithParam<const char*> {};

TEST_P(DialogTemplates, MnemonicsAreUniqueAndRadioGroupsAreOneTabStop) {
    const std::vector<DialogTemplate> dialogs = ReadDialogs(std::string(SOLVANE_TEST_SOURCE_DIR) + "/" + GetParam());
    ASSERT_FALSE(dialogs.empty());
    for (const DialogTemplate& dialog : dialogs) {
        std::map<char, std::string> letters;
        for (const Control& c : dialog.controls) {
            const char letter = Mnemonic(c);
            if (letter == 0) continue;
            EXPECT_EQ(letters.count(letter), 0u)
                << dialog.name << ": Alt+" << letter << " is both \"" << letters[letter] << "\" and \"" << c.text << "\"";
            letters[letter] = c.text;
        }
        // A radio button has a tab stop unless it says otherwise; a group starts at WS_GROUP.
        int radios = 0, stops = 0;
        std::string first;
        auto endGroup = [&] {
            if (radios > 0) {
                EXPECT_EQ(stops, 1) << dialog.name << ": the radio group of \"" << first << "\"";
            }
            radios = stops = 0;
        };
        for (const Control& c : dialog.controls) {
            if (Has(c.style, "WS_GROUP")) endGroup();
            if (!IsRadio(c)) continue;
            if (radios++ == 0) first = c.text;
            stops += !std::regex_search(c.style, std::regex("NOT\\s+WS_TABSTOP"));
        }
        endGroup();
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, DialogTemplates, testing::Values("res/solvane.rc", "saver/svsaver.rc"));

}  // namespace
