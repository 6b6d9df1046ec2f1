// Month names from the user's default locale.
#pragma once

#include "platform/MonthNames.h"

class LocaleMonthNames : public MonthNameSource {
public:
    std::string monthName(int month, bool abbreviated) override;
};
