#include "location/HomeCoordinates.h"

#include "app/Formatting.h"

#include <cmath>
#include <cstdlib>

DmsFields DmsFieldsOf(double degrees) {
    const DegreesMinutesSeconds dms = SplitDegrees(degrees);
    return {unsigned(std::abs(dms.degrees)), unsigned(dms.minutes), unsigned(dms.seconds)};
}

std::string DecimalFieldText(double degrees) {
    return Printf("%.5f", std::fabs(degrees));
}

bool CoordinateFromDms(unsigned degrees, unsigned minutes, unsigned seconds, bool negative, double& coordinate) {
    if (minutes >= 60 || seconds >= 60) return false;
    const double value = double(degrees) + minutes / 60.0 + seconds / 3600.0;
    coordinate = negative ? -value : value;
    return true;
}

bool CoordinateFromDecimalText(const std::string& text, bool negative, double& degrees) {
    const std::string head = text.substr(0, 15);
    const char* start = head.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0' || !std::isfinite(value)) return false;
    degrees = negative ? -std::fabs(value) : std::fabs(value);
    return true;
}

bool IsValidHomeCoordinate(double latitude, double longitude) {
    return std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180;
}

std::string CutName(const std::string& name, std::size_t length) {
    if (name.size() <= length) return name;
    std::string cut = name.substr(0, length);
    while (!cut.empty() && (cut.back() == ' ' || cut.back() == '\t')) cut.pop_back();
    return cut;
}
