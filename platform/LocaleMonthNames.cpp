#include "platform/LocaleMonthNames.h"

#include <windows.h>

std::string LocaleMonthNames::monthName(int month, bool abbreviated) {
    const LCTYPE item = (abbreviated ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1) + month - 1;
    char buffer[64];
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
    return length > 1 ? std::string(buffer, length - 1) : std::string();
}
