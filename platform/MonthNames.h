// Month names: the user's locale on Windows, English until a source is set and elsewhere.
#pragma once

#include <string>

class MonthNameSource {
public:
    virtual ~MonthNameSource() = default;
    // Month 1..12; an empty text when the locale has none.
    virtual std::string monthName(int month, bool abbreviated) = 0;
};
// Replaces the month-name source (the default is English); the source must outlive its use.
void SetMonthNameSource(MonthNameSource* source);

std::string MonthName(int month);          // empty outside 1..12
std::string MonthAbbreviation(int month);  // empty outside 1..12; safe on any thread
