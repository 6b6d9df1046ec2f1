// Command lines of the form "--name value ... --switch": the parsing both command-line
// programs share, and the values they both take.
#pragma once

#include "platform/CivilClock.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// One option a program accepts. `take` stores the value and returns false when it is bad;
// a switch has no `wants` and its `take` is called with an empty value.
struct OptionRule {
    std::string name;   // "--lat"
    const char* wants;  // what a good value is, for the error message; null for a switch
    std::function<bool(const std::string& value)> take;
};

// Applies `rules` to the arguments (without the program name) from left to right; an option
// given twice keeps its last value. False with `error` set (one phrase, no full stop) on an
// unknown option, a missing value or a bad value.
bool ParseOptions(const std::vector<std::string>& arguments, const std::vector<OptionRule>& rules,
                  std::string* error);

// Writes "program: error. usage" as one line on the standard error stream; returns the exit
// status of a bad command line, 2.
int UsageError(const char* program, const std::string& error, const char* usage);

// An argument as an error message quotes it: control characters (a newline, say) as '?', so
// the message stays on one line, and a long one shortened.
std::string Quoted(const std::string& text);

// Writes "program: error" as one line on the standard error stream; returns the exit status of
// a request that names something unknown, 2.
int UnknownNameError(const char* program, const std::string& error);

// The whole of `text` as a finite decimal number from `low` to `high`.
bool ParseNumber(const std::string& text, double low, double high, double* value);

// "YYYY-MM-DDTHH:MM:SS" as a valid UTC calendar time between years 1 and 9999.
bool ParseUtc(const std::string& text, CivilTime* time);

// The options both programs take: --utc, --lat and --lon (degrees, north and east positive).
OptionRule UtcRule(std::optional<CivilTime>* utc);
OptionRule LatitudeRule(std::optional<double>* latitude);
OptionRule LongitudeRule(std::optional<double>* longitude);
