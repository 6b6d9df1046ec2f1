// A world place as the globe shows it: a marker with its name and local time.
#pragma once

#include <cstdint>
#include <string>

struct PlaceMark {
    std::string name;  // UTF-8
    double latitude = 0, longitude = 0;  // degrees, north and east positive
    uint32_t population = 0;  // decides which label gives way; 0 when unknown
    std::string timeText;  // the place's local time, "14:05" or "2:05 PM"
};

inline bool operator==(const PlaceMark& a, const PlaceMark& b) {
    return a.name == b.name && a.latitude == b.latitude && a.longitude == b.longitude &&
           a.population == b.population && a.timeText == b.timeText;
}

// The label drawn beside the marker: "Tokyo 14:05".
inline std::string PlaceLabelText(const PlaceMark& mark) {
    return mark.timeText.empty() ? mark.name : mark.name + " " + mark.timeText;
}
