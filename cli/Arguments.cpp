#include "cli/Arguments.h"

#include "astro/FixedClock.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::string Quoted(const std::string& text) {
    constexpr std::size_t kLongest = 60;
    std::string out = "'";
    for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        out += c < 0x20 || c == 0x7f ? '?' : char(c);
    }
    return out + (text.size() > kLongest ? "...'" : "'");
}

namespace {

const OptionRule* FindRule(const std::vector<OptionRule>& rules, const std::string& name) {
    for (const OptionRule& rule : rules) {
        if (rule.name == name) return &rule;
    }
    return nullptr;
}

OptionRule DegreesRule(const char* name, const char* wants, double limit,
                       std::optional<double>* degrees) {
    return {name, wants, [degrees, limit](const std::string& value) {
                double number = 0;
                if (!ParseNumber(value, -limit, limit, &number)) return false;
                *degrees = number;
                return true;
            }};
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& arguments, const std::vector<OptionRule>& rules,
                  std::string* error) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        const OptionRule* rule = FindRule(rules, name);
        if (rule == nullptr) {
            *error = "unknown option " + Quoted(name);
            return false;
        }
        if (rule->wants == nullptr) {
            rule->take(std::string());
            continue;
        }
        if (i + 1 >= arguments.size()) {
            *error = rule->name + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (!rule->take(value)) {
            *error = rule->name + " wants " + rule->wants + ", not " + Quoted(value);
            return false;
        }
    }
    return true;
}

int UsageError(const char* program, const std::string& error, const char* usage) {
    std::fprintf(stderr, "%s: %s. %s\n", program, error.c_str(), usage);
    return 2;
}

int UnknownNameError(const char* program, const std::string& error) {
    std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    return 2;
}

bool ParseNumber(const std::string& text, double low, double high, double* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v) || v < low || v > high) return false;
    *value = v;
    return true;
}

bool ParseUtc(const std::string& text, CivilTime* time) {
    // Digits in every place but the separators: no signs, no spaces.
    static const char kForm[] = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != sizeof kForm - 1) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kForm[i] == 'd' ? !digit : text[i] != kForm[i]) return false;
    }
    int year, month, day, hour, minute, second;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &year, &month, &day, &hour, &minute,
                    &second) != 6) {
        return false;
    }
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    CivilTime t;
    t.year = year, t.month = month, t.day = day, t.hour = hour, t.minute = minute, t.second = second;
    *time = AddMinutes(t, 0);  // fills the day of the week
    return true;
}

OptionRule UtcRule(std::optional<CivilTime>* utc) {
    return {"--utc", "a date and time as YYYY-MM-DDTHH:MM:SS", [utc](const std::string& value) {
                CivilTime t;
                if (!ParseUtc(value, &t)) return false;
                *utc = t;
                return true;
            }};
}

OptionRule LatitudeRule(std::optional<double>* latitude) {
    return DegreesRule("--lat", "degrees from -90 to 90", 90, latitude);
}

OptionRule LongitudeRule(std::optional<double>* longitude) {
    return DegreesRule("--lon", "degrees from -180 to 180 (east positive)", 180, longitude);
}
