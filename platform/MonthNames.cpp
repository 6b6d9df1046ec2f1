#include "platform/MonthNames.h"

namespace {

class EnglishMonthNames : public MonthNameSource {
public:
    std::string monthName(int month, bool abbreviated) override {
        static const char* const kNames[12] = {"January", "February", "March",     "April",
                                               "May",     "June",     "July",      "August",
                                               "September", "October", "November", "December"};
        std::string name = kNames[month - 1];
        return abbreviated ? name.substr(0, 3) : name;
    }
};

EnglishMonthNames englishMonthNames;
MonthNameSource* monthNameSource = &englishMonthNames;

}  // namespace

void SetMonthNameSource(MonthNameSource* source) {
    monthNameSource = source != nullptr ? source : &englishMonthNames;
}

std::string MonthName(int month) {
    if (month < 1 || month > 12) return std::string();
    return monthNameSource->monthName(month, false);
}

std::string MonthAbbreviation(int month) {
    if (month < 1 || month > 12) return std::string();
    return monthNameSource->monthName(month, true);
}
