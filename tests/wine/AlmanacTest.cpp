// solvane-almanac.exe gives the numbers of the host build (same engine, same file) and the
// same exit statuses.
#include "ProgramHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>

namespace {

const char kArguments[] = "--utc 2026-12-08T14:00:00 --tz-bias 300 --json";

double JsonNumber(const std::string& json, const std::string& key) {
    const std::regex pattern("\"" + key + "\": (-?[0-9.eE+-]+)");
    std::smatch match;
    if (!std::regex_search(json, match, pattern)) return std::nan("");
    return std::strtod(match[1].str().c_str(), nullptr);
}

TEST(AlmanacProgram, MatchesTheHostBuild) {
    InstallFolder folder({"solvane-almanac.exe", "cheby"});
    const ConsoleRun run = RunConsoleProgram(folder.path("solvane-almanac.exe"), kArguments);
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0u) << run.errors;
    // Values printed by build/host/bin/solvane-almanac with the same arguments.
    struct Expected { const char* key; double value; double tolerance; };
    const Expected expected[] = {
        {"julianDate", 2461383.0833333335, 1e-9},
        {"trueObliquity", 23.43768414588888, 1e-12},
        {"greenwichSiderealTime", 19.156259830429917, 1e-10},
        {"localSiderealTime", 13.73092633052147, 1e-6},
        {"sunrise", 12.098559038750249, 1e-8},
        {"sunset", 22.482525682937847, 1e-8},
        {"twilightEnd", 22.912455538760536, 1e-8},
        {"moonIllumination", 0.3631339161852376, 1e-9},
        {"moonPhaseAngle", -173.08641804223285, 1e-8},
        {"distance", 0.98510632578808111, 1e-12},
    };
    for (const Expected& e : expected) {
        EXPECT_NEAR(JsonNumber(run.output, e.key), e.value, e.tolerance) << e.key;
    }
    EXPECT_NE(run.output.find("\"localDate\": \"2026-12-08\""), std::string::npos);
    EXPECT_NE(run.output.find("\"name\": \"New Moon\", \"label\": \"Dec 9\""), std::string::npos)
        << run.output;
}

TEST(AlmanacProgram, ExitStatuses) {
    InstallFolder folder({"solvane-almanac.exe", "cheby"});
    const std::string exe = folder.path("solvane-almanac.exe");
    ConsoleRun run = RunConsoleProgram(exe, "--lat 91");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.errors.find("usage: solvane-almanac"), std::string::npos) << run.errors;
    run = RunConsoleProgram(exe, "--utc 2070-01-01T00:00:00");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.errors.find("GetStateVector: requested date not covered by ephemeris file."),
              std::string::npos) << run.errors;
    run = RunConsoleProgram(exe, "--cheby nowhere.bin");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.errors.find("EPHOPN: Can't open binary data file"), std::string::npos);
    run = RunConsoleProgram(exe, "--utc 2000-01-01T12:00:00 --tz-bias 0");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_NE(run.output.find("January 1, 2000 12:00:00 UTC"), std::string::npos) << run.output;
}

}  // namespace
