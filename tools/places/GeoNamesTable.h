// Reading the GeoNames places table ("cities500.txt": tab-separated UTF-8, one place a line).
#pragma once

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

// The table's columns the places tools use.
enum GeoNamesColumn {
    kGeoNamesId = 0,
    kName = 1,
    kAsciiName = 2,
    kLatitude = 4,
    kLongitude = 5,
    kFeatureClass = 6,
    kFeatureCode = 7,
    kCountry = 8,
    kAdmin1 = 10,
    kPopulation = 14,
    kTimeZone = 17,
};

inline std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

// A populated place that still stands: feature class P, not historical, abandoned or destroyed.
inline bool IsSettlement(const std::string& featureClass, const std::string& code) {
    if (featureClass != "P") return false;
    return code != "PPLH" && code != "PPLQ" && code != "PPLW" && code != "PPLCH";
}

// A whole field as a number; false for text that is not one number.
inline bool ParseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

// What one read of the table met.
struct GeoNamesRead {
    bool opened = false;         // the file could be opened
    bool failed = false;         // reading it stopped on an error
    std::size_t lines = 0;       // lines read
    std::size_t shortLines = 0;  // lines with fewer fields than asked for, skipped
};

// Hands `take` the fields of each line of the table at `path` that has at least `columns` of
// them (a carriage return before the line feed dropped), and the line's number.
template <typename Take>
GeoNamesRead ReadGeoNamesTable(const char* path, std::size_t columns, Take take) {
    GeoNamesRead read;
    std::ifstream in(path, std::ios::binary);
    if (!in) return read;
    read.opened = true;
    std::string line;
    while (std::getline(in, line)) {
        ++read.lines;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> fields = SplitTabs(line);
        if (fields.size() < columns) {
            ++read.shortLines;
            continue;
        }
        take(fields, read.lines);
    }
    read.failed = in.bad();
    return read;
}
