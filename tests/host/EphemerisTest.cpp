// The reader against an independent evaluation of the same DE405 coefficients (numpy's
// Chebyshev routines on Debian's casacore table, tools/reference/make_tables.py), its edges,
// and its refusal of headers it cannot safely read.
#include "EphemerisFixture.h"

#include "astro/ChebyHeader.h"
#include "astro/Fatal.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct StateRow {
    double jd;
    int body;
    double state[6];  // AU, AU per day; barycentric (Sun, Earth-Moon barycentre), geocentric Moon
};

const StateRow kStates[] = {
    {2436912.5000000, kEarthMoonBarycentre, {0.21193612447293222, 0.89037147510007131, 0.38596552374659926, -0.017101579452445444, 0.0032952483939173122, 0.0014291039894963489}},
    {2436912.5000000, kMoon, {0.0024915405155961122, 0.00091090194607439264, 0.00030929981651618108, -0.00018262360147240902, 0.0005093799431044137, 0.00016901120755245585}},
    {2436912.5000000, kSun, {0.0027926140213931278, 0.0075090766948798255, 0.0031020898445104791, -8.2159610517072827e-06, 1.4917888417193143e-06, 8.7246101369255324e-07}},
    {2436912.5000001, kEarthMoonBarycentre, {0.21193612276077037, 0.89037147542998241, 0.38596552388967698, -0.017101579458933716, 0.003295248366528559, 0.0014291039776189137}},
    {2436912.5000001, kMoon, {0.0024915404973123514, 0.00091090199707207409, 0.00030929983343710592, -0.00018262361330054926, 0.00050937993889165888, 0.00016901120613349677}},
    {2436912.5000001, kSun, {0.0027926140205705684, 0.00750907669502918, 0.0031020898445978272, -8.21596105210004e-06, 1.4917888409368106e-06, 8.7246101337859634e-07}},
    {2451536.5000000, kEarthMoonBarycentre, {-0.036673563887553592, 0.89944249679386246, 0.39018012339931851, -0.017471634857098031, -0.0005390465039228228, -0.00023378208130476886}},
    {2451536.5000000, kMoon, {-0.00080890114815695263, 0.0020940138967670049, 0.00084904987716624334, -0.00060067872273747403, -0.0001984247055698643, -2.5795719780342645e-05}},
    {2451536.5000000, kSun, {-0.0071818708468780069, -0.0025893041531234126, -0.00089705969207981649, 5.3064535130046758e-06, -6.8230039349817872e-06, -3.0590741103577028e-06}},
    {2451545.0000000, kEarthMoonBarycentre, {-0.18429524682327694, 0.8847598385189811, 0.38381376140494267, -0.017197730582930743, -0.0029096002963053314, -0.0012615424279804276}},
    {2451545.0000000, kMoon, {-0.0019492816783437, -0.001782891882120017, -0.000508713666656353, 0.00037167046845588644, -0.00038469783447515643, -0.00017403015785364602}},
    {2451545.0000000, kSun, {-0.0071364589399065276, -0.0026470228609322328, -0.0009229497015665612, 5.3784602410181209e-06, -6.7581870218649809e-06, -3.03285025805866e-06}},
    {2451552.3000000, kEarthMoonBarycentre, {-0.30802431028242788, 0.85622921904642857, 0.37144366749569174, -0.016653776113457471, -0.004896176663647272, -0.0021228285751877288}},
    {2451552.3000000, kMoon, {0.0017286501861035045, -0.00186509960514779, -0.00083936219253748386, 0.00042119171777096442, 0.00036819227759056212, 0.00010319665787118383}},
    {2451552.3000000, kSun, {-0.0070969734069050499, -0.0026961591492889775, -0.00094500965278939883, 5.4393971789147555e-06, -6.7040418085230332e-06, -3.0110900272448685e-06}},
    {2460000.2500000, kEarthMoonBarycentre, {-0.90979200010923011, 0.37554735786584875, 0.16303334141982972, -0.0074019188504991004, -0.014436414940098865, -0.0062579798379901047}},
    {2460000.2500000, kMoon, {0.0020828237008097862, 0.0013387279716123824, 0.00057799014251371634, -0.00030490652951138317, 0.00044628851019360517, 0.00025089609898031718}},
    {2460000.2500000, kSun, {-0.0089838251832275451, -0.00044497701549801996, 3.8602303614023544e-05, 1.6262112005415149e-06, -8.1040552792910025e-06, -3.4771777599315311e-06}},
    {2473456.5000000, kEarthMoonBarycentre, {-0.11336187987011744, 0.88982503798761348, 0.385853229692528, -0.017368557634660015, -0.0018280867248127975, -0.00079223320700982512}},
    {2473456.5000000, kMoon, {-0.0023377648077646082, -0.0012314030964774814, -0.00046100926030353921, 0.00028960071284529233, -0.00042166488225401592, -0.00023607858681681167}},
    {2473456.5000000, kSun, {-0.0034643109080243011, -0.0068533434841056831, -0.0027585652597873675, 7.8261059750842557e-06, -4.3479397500773086e-06, -2.0694422903895961e-06}},
    {2473488.4999990, kEarthMoonBarycentre, {-0.62307065534853223, 0.69532397550354119, 0.30155913455695815, -0.013641703342180015, -0.0099981924066980862, -0.0043331236341730634}},
    {2473488.4999990, kMoon, {-0.00012445718464467758, -0.0022754646225487079, -0.0011580222236984125, 0.00059323284859582139, 2.4036848339816359e-05, -2.7163497459308075e-05}},
    {2473488.4999990, kSun, {-0.0032101261755663711, -0.0069868891128877213, -0.0028225310682751009, 8.0542341464396108e-06, -3.9910570055845311e-06, -1.92478246895278e-06}},
    {2473488.5000000, kEarthMoonBarycentre, {-0.62307066898716335, 0.69532396550760045, 0.30155913022481029, -0.01364170315024908, -0.0099981926241382076, -0.004333123728411911}},
    {2473488.5000000, kMoon, {-0.00012445659154543059, -0.0022754645985172124, -0.0011580222508557616, 0.00059323285645212901, 2.4036970324652599e-05, -2.7163435283693744e-05}},
    {2473488.5000000, kSun, {-0.0032101261675139508, -0.0069868891168778794, -0.0028225310701994501, 8.0542341528271998e-06, -3.9910569936457711e-06, -1.9247824640306953e-06}},
};

// pleph's frame for each row: the Moon's item is geocentric, the others barycentric.
int CentreOf(int body) { return body == kMoon ? kEarth : kSolarSystemBarycentre; }

TEST_F(WithEphemeris, StatesMatchAnIndependentEvaluation) {
    for (const StateRow& row : kStates) {
        double rrd[6];
        int inside = 0;
        pleph(row.jd, row.body, CentreOf(row.body), rrd, &inside);
        ASSERT_EQ(inside, 1) << row.jd;
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(rrd[k], row.state[k], 1e-13) << "position " << k << " body " << row.body << " jd " << row.jd;
            EXPECT_NEAR(rrd[3 + k], row.state[3 + k], 1e-13) << "velocity " << k << " body " << row.body << " jd " << row.jd;
        }
    }
}

TEST_F(WithEphemeris, CoversTheFilesDatesAndNoMore) {
    const ChebyHeader* header = EphemerisHeader();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->firstDate, 2436912.5);
    EXPECT_EQ(header->lastDate, 2473488.5);
    EXPECT_EQ(header->recordDoubles, 1018);
    EXPECT_EQ(header->recordCount, 1143);
    double rrd[6];
    int inside = 1;
    pleph(2436912.5 - 1e-6, kSun, kSolarSystemBarycentre, rrd, &inside);
    EXPECT_EQ(inside, 0);
    pleph(2473488.5 + 1e-6, kSun, kSolarSystemBarycentre, rrd, &inside);
    EXPECT_EQ(inside, 0);
    pleph(2473488.5, kSun, kSolarSystemBarycentre, rrd, &inside);
    EXPECT_EQ(inside, 1);
}

// A reader of its own (the eclipse search's) gives the program's reader's numbers while the
// two read different records in turn, and refuses what it does not cover.
TEST_F(WithEphemeris, AReaderOfItsOwnKeepsItsOwnRecord) {
    EXPECT_EQ(EphemerisPath(), SOLVANE_TEST_CHEBY);
    EphemerisReader own;
    std::string error;
    EXPECT_FALSE(own.open("/nonexistent/cheby", &error));
    EXPECT_NE(error.find("Can't open"), std::string::npos);
    ASSERT_TRUE(own.open(SOLVANE_TEST_CHEBY, &error)) << error;
    for (double jd : {2451545.0, 2437000.5, 2470000.25}) {
        double program[6], ours[6];
        int inside = 0;
        pleph(jd, kMoon, kSun, program, &inside);
        ASSERT_TRUE(own.body(jd + 300, kMars, kEarth, ours));
        ASSERT_TRUE(own.body(jd, kMoon, kSun, ours));
        for (int k = 0; k < 6; ++k) EXPECT_EQ(ours[k], program[k]) << jd;
    }
    double outside[6];
    EXPECT_FALSE(own.body(own.header().lastDate + 1, kMoon, kEarth, outside));
}

TEST_F(WithEphemeris, SameTargetAndCentreGivesZeros) {
    double rrd[6] = {1, 1, 1, 1, 1, 1};
    int inside = 0;
    pleph(2451545.0, kMars, kMars, rrd, &inside);
    EXPECT_EQ(inside, 1);
    for (double x : rrd) EXPECT_EQ(x, 0.0);
}

TEST_F(WithEphemeris, EarthAndMoonRelativeToEachOther) {
    double moon[6], earth[6], bary[6], moonBary[6], earthBary[6];
    PlanetState(2455000.3, kMoon, kEarth, moon);
    PlanetState(2455000.3, kEarth, kMoon, earth);
    PlanetState(2455000.3, kMoon, kSolarSystemBarycentre, moonBary);
    PlanetState(2455000.3, kEarth, kSolarSystemBarycentre, earthBary);
    PlanetState(2455000.3, kEarthMoonBarycentre, kSolarSystemBarycentre, bary);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(earth[k], -moon[k]);
        EXPECT_NEAR(moonBary[k] - earthBary[k], moon[k], 1e-15);
        // The barycentre divides the Earth-Moon line in the ratio of the masses.
        EXPECT_NEAR(bary[k], (81.30056 * earthBary[k] + moonBary[k]) / 82.30056, 1e-15);
    }
}

TEST_F(WithEphemeris, HeliocentricAndSphericalForms) {
    double helio[6], bary[6], sun[6], spherical[6];
    GetStateVector(2451545.0, kMars, kSun, 1, helio);
    GetStateVector(2451545.0, kMars, kSolarSystemBarycentre, 1, bary);
    GetStateVector(2451545.0, kSun, kSolarSystemBarycentre, 1, sun);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(helio[k], bary[k] - sun[k], 1e-15);
    GetStateVector(2451545.0, kMars, kSun, 2, spherical);
    const double r = std::sqrt(helio[0] * helio[0] + helio[1] * helio[1] + helio[2] * helio[2]);
    EXPECT_NEAR(spherical[2], r, 1e-15);
    EXPECT_NEAR(std::cos(spherical[1]) * std::cos(spherical[0]) * r, helio[0], 1e-14);
    EXPECT_NEAR(std::cos(spherical[1]) * std::sin(spherical[0]) * r, helio[1], 1e-14);
    EXPECT_NEAR(std::sin(spherical[1]) * r, helio[2], 1e-14);
    EXPECT_GE(spherical[0], 0.0);
    const double radialRate = (helio[0] * helio[3] + helio[1] * helio[4] + helio[2] * helio[5]) / r;
    EXPECT_NEAR(spherical[5], radialRate, 1e-16);
}

TEST_F(WithEphemeris, NutationsOfTheFileAgreeWithTheSeries) {
    double nut[6];
    int inside = 0;
    pleph(2451545.0, kNutations, kNutations, nut, &inside);
    EXPECT_NEAR(nut[0], -6.7502486e-05, 1e-12);
    EXPECT_NEAR(nut[1], -2.7992212e-05, 1e-12);
}

TEST_F(WithEphemeris, DatesOutsideTheFileEndTheProcess) {
    double out[6];
    EXPECT_EXIT(GetStateVector(2400000.5, kSun, kEarth, 1, out), testing::ExitedWithCode(1),
                "GetStateVector: requested date not covered by ephemeris file.");
    const double et2[2] = {2473489.0, 0};
    int list[12] = {0, 0, 2};
    double pv[6][13], nut[4];
    EXPECT_EXIT(state(et2, list, pv, nut), testing::ExitedWithCode(1), "state: epoch out of range.");
}

// In a fresh folder holding the test file as "JPLEPH", opens the reader with an empty name
// in a one-byte buffer; ends the process with status 0 when the file opened and the buffer
// kept its text.
[[noreturn]] void OpenWithAnEmptyName() {
    CloseEphemeris();
    const std::string dir = testing::TempDir() + "jpleph-" + std::to_string(::getpid());
    mkdir(dir.c_str(), 0700);
    if (chdir(dir.c_str()) != 0) std::exit(4);
    std::remove("JPLEPH");
    if (symlink(SOLVANE_TEST_CHEBY, "JPLEPH") != 0) std::exit(4);
    std::vector<char> name(1, '\0');
    const bool opened = EPHOPN(name.data()) != nullptr;
    std::remove("JPLEPH");
    if (!opened) std::exit(3);
    if (name[0] != '\0') std::exit(2);
    std::exit(0);
}

TEST(EphemerisOpen, AnEmptyNameOpensJPLEPHWithoutWritingToTheName) {
    EXPECT_EXIT(OpenWithAnEmptyName(), testing::ExitedWithCode(0), "");
}

TEST_F(WithEphemeris, ADateThatIsNotANumberLiesOutsideTheFile) {
    const double nan = std::nan("");
    double rrd[6] = {1, 1, 1, 1, 1, 1};
    int inside = 1;
    pleph(nan, kSun, kEarth, rrd, &inside);
    EXPECT_EQ(inside, 0);
    EXPECT_EQ(rrd[0], 0);
    double out[6];
    EXPECT_EXIT(GetStateVector(nan, kSun, kEarth, 1, out), testing::ExitedWithCode(1),
                "GetStateVector: requested date not covered by ephemeris file.");
    const double et2[2] = {2451545.0, nan};
    int list[12] = {0, 0, 2};
    double pv[6][13], nut[4];
    EXPECT_EXIT(state(et2, list, pv, nut), testing::ExitedWithCode(1), "state: epoch out of range.");
}

struct FatalStop {};
[[noreturn]] void ThrowFatalStop() { throw FatalStop(); }

// A harness can go on after a fatal error through the hook; the reader still answers.
TEST_F(WithEphemeris, AFatalHookMayLeaveByThrowing) {
    SetFatalHook(ThrowFatalStop);
    double out[6];
    bool stopped = false;
    try {
        GetStateVector(2400000.5, kSun, kEarth, 1, out);
    } catch (const FatalStop&) {
        stopped = true;
    }
    SetFatalHook(nullptr);
    EXPECT_TRUE(stopped);
    GetStateVector(2451545.0, kSun, kEarth, 1, out);
    EXPECT_NEAR(std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]), 0.9833, 1e-4);
}

// A little-endian file image: the real file's header and its first `records` records, with
// the dates cut to match.
std::vector<uint8_t> SmallCheby(int records) {
    std::ifstream file(SOLVANE_TEST_CHEBY, std::ios::binary);
    std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
    const long header = ChebyHeaderBytes(4);
    bytes.resize(header + records * 8144L);
    const double last = 2436912.5 + 32.0 * records;
    std::memcpy(&bytes[197 + 6 * 4 + 8], &last, 8);
    return bytes;
}

bool Parse(std::vector<uint8_t> bytes, ChebyHeader* header, std::string* error) {
    FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    const bool ok = ReadChebyHeader(file, header, error);
    std::fclose(file);
    return ok;
}

void PutInt16(std::vector<uint8_t>& bytes, long offset, int16_t value) {
    std::memcpy(&bytes[offset], &value, 2);
}

TEST(ChebyHeader, SizesFollowTheConstantCount) {
    EXPECT_EQ(ChebyHeaderBytes(400), 5917);
    ChebyHeader header;
    std::string error;
    std::vector<uint8_t> bytes = SmallCheby(3);
    bytes.resize(bytes.size() + 100);  // a partial record at the end is ignored
    ASSERT_TRUE(Parse(bytes, &header, &error)) << error;
    EXPECT_EQ(header.recordCount, 3);
    EXPECT_EQ(header.headerBytes, 373);
    EXPECT_STREQ(header.constantNames[2].data(), "EMRAT ");
    EXPECT_EQ(header.constantValues[0], 405.0);
}

TEST(ChebyHeader, RefusesHeadersBeyondTheReadersBuffers) {
    const long tables = 237 + 6 * 4;  // item offsets, then counts, then sub-intervals
    struct Case {
        const char* what;
        long offset;
        int16_t value;
    };
    const Case cases[] = {
        {"negative constant count", 195, -1},
        {"constant count larger than the file", 195, 30000},
        {"coefficients above 15", tables + 24 + 2 * 9, 16},
        {"negative coefficients", tables + 24 + 2 * 0, -3},
        {"sub-intervals above 8", tables + 48 + 2 * 9, 9},
        {"no sub-intervals", tables + 48 + 2 * 10, 0},
        {"offset before the record's coefficients", tables + 2 * 10, 1},
        {"offset past the record", tables + 2 * 10, 1000},
        {"too many coefficients for the buffer", tables + 24 + 2 * 3, 15},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = SmallCheby(2);
        PutInt16(bytes, c.offset, c.value);
        if (std::string(c.what) == "too many coefficients for the buffer") {
            PutInt16(bytes, tables + 48 + 2 * 3, 8);  // Mars: 3 x 15 x 8 more coefficients
        }
        ChebyHeader header;
        std::string error;
        EXPECT_FALSE(Parse(bytes, &header, &error)) << c.what;
        EXPECT_NE(error.find("Error reading binary data file"), std::string::npos) << c.what;
    }
}

TEST(ChebyHeader, RefusesImpossibleDatesAndTruncatedFiles) {
    const long dates = 197 + 6 * 4;
    for (double recordDays : {0.0, -32.0, std::nan("")}) {
        std::vector<uint8_t> bytes = SmallCheby(2);
        std::memcpy(&bytes[dates + 16], &recordDays, 8);
        ChebyHeader header;
        std::string error;
        EXPECT_FALSE(Parse(bytes, &header, &error)) << recordDays;
    }
    std::vector<uint8_t> truncated = SmallCheby(2);
    truncated.resize(truncated.size() - 8144);  // claims two records, holds one
    ChebyHeader header;
    std::string error;
    EXPECT_FALSE(Parse(truncated, &header, &error));
    for (std::size_t size : {0ul, 100ul, 372ul}) {
        std::vector<uint8_t> bytes = SmallCheby(2);
        bytes.resize(size);
        EXPECT_FALSE(Parse(bytes, &header, &error)) << size;
    }
}

// Opens `path` in place of the test file and reads every item it holds at a few dates; ends
// the process with status 0 when nothing went wrong.
[[noreturn]] void ReadEveryItem(const std::string& path) {
    CloseEphemeris();
    if (EPHOPN(path.c_str()) == nullptr) std::exit(3);
    const ChebyHeader* h = EphemerisHeader();
    if (h->items[10].coefficients == 0) std::exit(0);  // the Sun is read first: fatal by design
    int list[12] = {};
    for (int item = 0; item < 10; ++item) list[item] = h->items[item].coefficients ? 2 : 0;
    double pv[6][13], nut[4];
    for (double f : {0.0, 0.37, 0.999, 1.0}) {
        const double et2[2] = {h->firstDate + f * (h->lastDate - h->firstDate), 0};
        state(et2, list, pv, nut);
    }
    std::exit(0);
}

// Reading ended normally or through one of the reader's fatal messages, never by a signal.
bool EndedCleanly(int status) {
    return WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 1);
}

// Random damage to the header of a small file: the reader either refuses it or reads states
// from it (or stops with one of its messages), and never crashes. Accepted files are then asked for every item they hold.
TEST(ChebyHeader, SurvivesRandomDamage) {
    std::mt19937 random(20261208);
    const std::vector<uint8_t> pristine = SmallCheby(3);
    const std::string path = testing::TempDir() + "damaged.cheby";
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bytes = pristine;
        const int hits = 1 + random() % 4;
        for (int i = 0; i < hits; ++i) {
            const long where = 195 + random() % (373 - 195);
            bytes[where] = random() % 3 == 0 ? uint8_t(random()) : bytes[where] ^ (1u << (random() % 8));
        }
        ChebyHeader header;
        std::string error;
        if (!Parse(bytes, &header, &error)) continue;
        ++accepted;
        if (accepted > 200) continue;  // reading states costs more than parsing
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        EXPECT_EXIT(ReadEveryItem(path), EndedCleanly, "") << "round " << round;
    }
    EXPECT_GT(accepted, 0);
    std::remove(path.c_str());
}

}  // namespace
