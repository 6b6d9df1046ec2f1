// solvane-almanac's command line: any arguments are either refused with a one-line reason or
// give a request whose every value lies in its documented range.
#include "FuzzSupport.h"

#include "cli/AlmanacRequest.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    AlmanacRequest request;
    std::string error;
    if (!Accepted(ParseAlmanacArguments(ArgumentsOf(data, size), &request, &error), error)) return 0;
    if (request.latitude) FUZZ_CHECK(std::fabs(*request.latitude) <= 90);
    if (request.longitude) FUZZ_CHECK(std::fabs(*request.longitude) <= 180);
    if (request.timeZoneBias) FUZZ_CHECK(std::abs(*request.timeZoneBias) <= 1440);
    if (request.chebyPath) FUZZ_CHECK(!request.chebyPath->empty());
    if (request.utc) {
        const CivilTime& t = *request.utc;
        FUZZ_CHECK(t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12);
        FUZZ_CHECK(t.day >= 1 && t.day <= 31 && t.hour <= 23 && t.minute <= 59 && t.second <= 59);
        FUZZ_CHECK(t.dayOfWeek >= 0 && t.dayOfWeek <= 6);
    }
    return 0;
}
