// solvane-render's command line: any arguments are either refused with a one-line reason or
// give a request the renderer can take as it is.
#include "FuzzSupport.h"

#include "cli/RenderRequest.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    RenderRequest request;
    std::string error;
    if (!Accepted(ParseRenderArguments(ArgumentsOf(data, size), &request, &error), error)) return 0;
    FUZZ_CHECK(!request.output.empty());
    FUZZ_CHECK(request.width >= 1 && request.width <= 16384);
    FUZZ_CHECK(request.height >= 1 && request.height <= 16384);
    FUZZ_CHECK(request.viewpoint >= 0 && request.viewpoint <= 7);
    FUZZ_CHECK(request.displayFlags <= 0xFFF);
    if (request.latitude) FUZZ_CHECK(std::fabs(*request.latitude) <= 90);
    if (request.longitude) FUZZ_CHECK(std::fabs(*request.longitude) <= 180);
    if (request.utc) FUZZ_CHECK(request.utc->year >= 1 && request.utc->month <= 12);
    return 0;
}
