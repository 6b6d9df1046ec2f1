#include "app/OptionsStore.h"

#include "OptionsTestDoubles.h"
#include "app/OptionsSaver.h"
#include "platform/FileAccess.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

namespace {

std::vector<char> BytesOf(const UserOptions& options) {
    const char* p = reinterpret_cast<const char*>(&options);
    return std::vector<char>(p, p + sizeof options);
}

UserOptions Defaults() {
    UserOptions options;
    SetDefaultOptions(options);
    return options;
}

TEST(LoadOptions, FirstRunUsesDefaultsAndWritesAutostart) {
    OptionsWorld world;
    world.timeZone.zone.bias = -60;
    world.timeZone.zone.standardName = u"W. Europe Standard Time";
    UserOptions options;
    LoadOptions(options, world.services());

    UserOptions expected = Defaults();
    expected.timeZoneBias = -60;
    SetFieldText(expected.timeZoneName, std::u16string(u"W. Europe Standard Time"));
    EXPECT_EQ(BytesOf(options), BytesOf(expected));
    EXPECT_TRUE(world.prompt.warnings.empty());
    const std::string* run = world.registry.find(RegistryRoot::CurrentUser, kRunKeyPath, "Solvane");
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(*run, "\"" + world.folder.programPath() + "\"" + std::string(1, '\0')) << "quoted";
    EXPECT_FALSE(std::filesystem::exists(world.folder.optionsFile()))
        << "the file is written by the first save, not by the load";
}

TEST(LoadOptions, AutostartNeedsAnExistingRunKey) {
    OptionsWorld world;
    world.registry.existingKeys.clear();
    UserOptions options;
    LoadOptions(options, world.services());
    EXPECT_TRUE(world.registry.values.empty());
}

TEST(SaveOptions, WritesTheRecordAndAZeroPaddedAppPath) {
    OptionsWorld world;
    UserOptions options = Defaults();
    ASSERT_TRUE(SaveOptions(options, world.services()));

    EXPECT_EQ(world.folder.readFile(world.folder.optionsFile()), BytesOf(options));
    EXPECT_EQ(world.folder.names(), std::vector<std::string>{"user.bin"}) << "no temporary file is left";
    const std::string* appPath = world.registry.find(
        RegistryRoot::LocalMachine, kRegistrationKeyPath, kAppPathValueName);
    ASSERT_NE(appPath, nullptr);
    ASSERT_EQ(appPath->size(), 260u);
    const std::string program = world.folder.programPath();
    EXPECT_EQ(appPath->substr(0, program.size()), program);
    EXPECT_EQ(appPath->find_first_not_of('\0', program.size()), std::string::npos)
        << "nothing but zeros after the path";

    // A path of more than 259 bytes (90 characters of 3 bytes each) is kept whole.
    OptionsServices services = world.services();
    services.programPath = "C:\\";
    for (int i = 0; i < 90; ++i) services.programPath += "\xE6\x97\xA5";
    services.programPath += "\\solvane.exe";
    ASSERT_TRUE(SaveOptions(options, services));
    appPath = world.registry.find(RegistryRoot::LocalMachine, kRegistrationKeyPath, kAppPathValueName);
    EXPECT_EQ(*appPath, services.programPath + std::string(1, '\0'));

    // From a folder that others may change, the options are saved and AppPath is left alone.
    const std::string recorded = *appPath;
    services.programPath = "C:\\Users\\me\\Downloads\\Solvane\\solvane.exe";
    services.programTrusted = false;
    ASSERT_TRUE(SaveOptions(options, services));
    EXPECT_EQ(*world.registry.find(RegistryRoot::LocalMachine, kRegistrationKeyPath, kAppPathValueName), recorded);
}

TEST(SaveOptions, RoundTripKeepsEveryByte) {
    OptionsWorld world;
    world.timeZone.zone = {300, -60, true, u"Eastern Standard Time", u"Eastern Daylight Time"};
    UserOptions saved;
    LoadOptions(saved, world.services());
    saved.viewpoint = 9;  // out of range values are kept as they are
    saved.displayFlags = 0xFFF;
    saved.homeLongitude = 151.2093f;
    saved.homeLatitude = -33.8688f;
    SetFieldText(saved.homeName, std::string("Sydney"));
    SetFieldText(saved.customTimeServer, std::string("time.example.org"));
    saved.frameLeft = -1200;
    saved.wallpaperMinutes = 0;
    saved.reserved420[67] = 0x7F;
    ASSERT_TRUE(SaveOptions(saved, world.services()));

    UserOptions loaded;
    LoadOptions(loaded, world.services());
    EXPECT_EQ(BytesOf(loaded), BytesOf(saved));
    EXPECT_TRUE(world.prompt.warnings.empty());
}

TEST(LoadOptions, StoredTimeZoneIsAlwaysReplacedByTheSystems) {
    OptionsWorld world;
    UserOptions stale = Defaults();
    stale.timeZoneBias = 999;
    SetFieldText(stale.timeZoneName, std::u16string(u"Nowhere Time"));
    world.folder.writeFile(world.folder.optionsFile(), BytesOf(stale));
    world.timeZone.zone = {-330, 0, false, u"India Standard Time", u"India Daylight Time"};

    UserOptions loaded;
    LoadOptions(loaded, world.services());
    EXPECT_EQ(loaded.timeZoneBias, -330);
    EXPECT_EQ(FieldText(loaded.timeZoneName), u"India Standard Time");
}

class WrongSizeFile : public testing::TestWithParam<std::size_t> {};

TEST_P(WrongSizeFile, WarnsOnceUsesDefaultsAndIsReplacedBySave) {
    OptionsWorld world;
    UserOptions custom = Defaults();
    custom.viewpoint = kViewFromSun;
    std::vector<char> bytes = BytesOf(custom);
    bytes.resize(GetParam(), 'x');
    world.folder.writeFile(world.folder.optionsFile(), bytes);

    UserOptions options;
    LoadOptions(options, world.services());
    ASSERT_EQ(world.prompt.warnings.size(), 1u);
    EXPECT_EQ(world.prompt.warnings[0].first, unsigned(IDS_OPTIONS_CORRUPT));
    EXPECT_EQ(world.prompt.warnings[0].second, unsigned(IDS_WARNING_CAPTION));
    EXPECT_EQ(options.viewpoint, kViewOverHome);
    EXPECT_EQ(world.registry.find(RegistryRoot::CurrentUser, kRunKeyPath, "Solvane"), nullptr)
        << "only a first run writes the autostart value";

    ASSERT_TRUE(SaveOptions(options, world.services()));
    EXPECT_EQ(std::filesystem::file_size(world.folder.optionsFile()), 488u);
    EXPECT_EQ(world.prompt.warnings.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WrongSizeFile, testing::Values(0u, 487u, 489u, 976u));

// A crash in the middle of a save leaves at most a partial temporary file; the options file
// itself is still the last complete one.
TEST(SaveOptions, InterruptedSaveLeavesTheOldFileIntact) {
    OptionsWorld world;
    UserOptions first = Defaults();
    first.spinSpeed = 7;
    ASSERT_TRUE(SaveOptions(first, world.services()));
    world.folder.writeFile(world.folder.dir / "user.bin.0badf00d.new", std::vector<char>(100, 'j'));

    UserOptions loaded;
    LoadOptions(loaded, world.services());
    EXPECT_EQ(loaded.spinSpeed, 7);
    EXPECT_TRUE(world.prompt.warnings.empty());

    loaded.spinSpeed = 3;
    ASSERT_TRUE(SaveOptions(loaded, world.services()));
    UserOptions reloaded;
    LoadOptions(reloaded, world.services());
    EXPECT_EQ(reloaded.spinSpeed, 3);
}

// A second writer of the file while the first is half-way (another clock saving at the same
// moment): both succeed, and the file is whole, the last finished one's.
TEST(SaveOptions, TwoWritersAtOnceNeitherFailNorMix) {
    OptionsWorld world;
    UserOptions first = Defaults(), second = Defaults();
    first.spinSpeed = 1;
    second.spinSpeed = 2;
    const std::vector<char> firstBytes = BytesOf(first);
    bool secondSaved = false;
    EXPECT_TRUE(ReplaceFileAtomically(world.folder.optionsFile().string(), [&](const FileChunkWriter& write) {
        if (!write(firstBytes.data(), 100)) return false;
        secondSaved = SaveOptions(second, world.services());
        EXPECT_EQ(world.folder.readFile(world.folder.optionsFile()), BytesOf(second));
        return write(firstBytes.data() + 100, firstBytes.size() - 100);
    }));
    EXPECT_TRUE(secondSaved);
    EXPECT_EQ(world.folder.readFile(world.folder.optionsFile()), firstBytes);
    EXPECT_EQ(world.folder.names(), std::vector<std::string>{"user.bin"});
}

TEST(SaveOptions, FailedWriteKeepsTheOldFileAndReportsIt) {
    OptionsWorld world;
    UserOptions first = Defaults();
    ASSERT_TRUE(SaveOptions(first, world.services()));
    const std::vector<char> before = world.folder.readFile(world.folder.optionsFile());

    UserOptions second = first;
    second.units = 0;
    {
        FullDisk full;
        EXPECT_FALSE(SaveOptions(second, world.services()));
    }
    EXPECT_EQ(world.folder.readFile(world.folder.optionsFile()), before);
    EXPECT_EQ(world.folder.names(), std::vector<std::string>{"user.bin"}) << "the unfinished file is removed";
    EXPECT_NE(world.registry.find(RegistryRoot::LocalMachine, kRegistrationKeyPath,
                                  kAppPathValueName), nullptr)
        << "AppPath is written even when the file is not";
}

// A program folder the user cannot write to: the first failed save of a run tells the user
// which file and why, once; quiet saves (start-up, the end of a session) leave the telling to
// reportFailure.
TEST(OptionsSaver, ReportsTheFirstFailureOnceWithTheFileAndTheReason) {
    OptionsWorld world;
    OptionsSaver saver;
    const UserOptions options = Defaults();
    saver.reportFailure(world.services());
    EXPECT_TRUE(world.prompt.formattedWarnings.empty()) << "nothing failed yet";
    auto full = std::make_unique<FullDisk>();
    EXPECT_FALSE(saver.save(options, world.services(), true));
    EXPECT_TRUE(world.prompt.formattedWarnings.empty()) << "a quiet save says nothing";
    saver.reportFailure(world.services());
    ASSERT_EQ(world.prompt.formattedWarnings.size(), 1u);
    const auto& warning = world.prompt.formattedWarnings[0];
    EXPECT_EQ(warning.textId, unsigned(IDS_OPTIONS_NOT_SAVED));
    EXPECT_EQ(warning.captionId, unsigned(IDS_WARNING_CAPTION));
    ASSERT_EQ(warning.inserts.size(), 2u);
    EXPECT_EQ(warning.inserts[0], world.folder.optionsFile().string());
    EXPECT_FALSE(warning.inserts[1].empty()) << "the system's reason";
    EXPECT_FALSE(saver.save(options, world.services(), false));
    saver.reportFailure(world.services());
    EXPECT_EQ(world.prompt.formattedWarnings.size(), 1u) << "never twice";

    full.reset();
    EXPECT_TRUE(saver.save(options, world.services(), false));
    EXPECT_EQ(world.folder.readFile(world.folder.optionsFile()), BytesOf(options));
}

TEST(OptionsSaver, AFailureSeenFirstByAnInteractiveSaveIsToldAtOnce) {
    OptionsWorld world;
    OptionsSaver saver;
    FullDisk full;
    EXPECT_FALSE(saver.save(Defaults(), world.services(), false));
    EXPECT_EQ(world.prompt.formattedWarnings.size(), 1u);
}

// A file that is there but cannot be opened (here a link to itself; on Windows one held by
// another program) is no first run: the user is told once, the autostart value is not written,
// and no save of the run replaces the file.
TEST(LoadOptions, AFileThatCannotBeReadIsLeftAloneForTheWholeRun) {
    OptionsWorld world;
    std::filesystem::create_symlink("user.bin", world.folder.optionsFile());
    UserOptions options;
    EXPECT_FALSE(LoadOptions(options, world.services()));
    EXPECT_EQ(BytesOf(options), BytesOf(Defaults()));
    EXPECT_TRUE(world.registry.values.empty()) << "no autostart value, no AppPath";
    ASSERT_EQ(world.prompt.formattedWarnings.size(), 1u);
    EXPECT_EQ(world.prompt.formattedWarnings[0].textId, unsigned(IDS_OPTIONS_UNREADABLE));
    EXPECT_EQ(world.prompt.formattedWarnings[0].inserts[0], world.folder.optionsFile().string());

    OptionsSaver saver;
    saver.leaveFileAlone();
    EXPECT_FALSE(saver.save(options, world.services(), false));
    saver.reportFailure(world.services());
    EXPECT_EQ(world.prompt.formattedWarnings.size(), 1u) << "told once, at the start";
    EXPECT_TRUE(std::filesystem::is_symlink(world.folder.optionsFile()));
    EXPECT_EQ(world.folder.names(), std::vector<std::string>{"user.bin"});
}

// Only the user's own file, when it cannot be read, keeps the run from saving; an earlier
// install's that cannot be read leaves the user a first run, whose saves make their own file.
TEST(LoadOptions, OnlyTheUsersOwnUnreadableFileStopsTheSaves) {
    enum File { Missing, Whole, WrongSize, Unreadable };
    struct Case {  // warning: a formatted warning's text, or IDS_OPTIONS_CORRUPT; 0 for none
        File own, earlier;
        bool mayWrite;
        int viewpoint;
        unsigned warning;
        bool autostart;
    };
    const Case cases[] = {
        {Missing, Whole, true, kViewFromSun, 0, false},
        {Missing, Unreadable, true, kViewOverHome, IDS_EARLIER_OPTIONS_UNREADABLE, true},
        {Missing, WrongSize, true, kViewOverHome, IDS_OPTIONS_CORRUPT, false},
        {Whole, Unreadable, true, kViewFromMoon, 0, false},
        {Unreadable, Whole, false, kViewOverHome, IDS_OPTIONS_UNREADABLE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "own " << c.own << ", earlier " << c.earlier);
        OptionsWorld world;
        const std::filesystem::path earlier = world.folder.dir / "user.earlier.bin";
        const auto place = [&](File kind, const std::filesystem::path& path, int viewpoint) {
            UserOptions stored = Defaults();
            stored.viewpoint = viewpoint;
            std::vector<char> bytes = BytesOf(stored);
            if (kind == WrongSize) bytes.pop_back();
            if (kind == Whole || kind == WrongSize) world.folder.writeFile(path, bytes);
            if (kind == Unreadable) std::filesystem::create_symlink(path.filename(), path);  // a link to itself
        };
        place(c.own, world.folder.optionsFile(), kViewFromMoon);
        place(c.earlier, earlier, kViewFromSun);
        OptionsServices services = world.services();
        services.earlierOptionsFile = earlier.string();

        UserOptions options;
        EXPECT_EQ(LoadOptions(options, services), c.mayWrite);
        EXPECT_EQ(options.viewpoint, c.viewpoint);
        EXPECT_EQ(world.registry.find(RegistryRoot::CurrentUser, kRunKeyPath, "Solvane") != nullptr, c.autostart);
        std::vector<unsigned> warnings;
        for (const auto& w : world.prompt.warnings) warnings.push_back(w.first);
        for (const auto& w : world.prompt.formattedWarnings) warnings.push_back(w.textId);
        EXPECT_EQ(warnings, c.warning != 0 ? std::vector<unsigned>{c.warning} : std::vector<unsigned>{});
        const std::filesystem::path& named = c.own == Unreadable ? world.folder.optionsFile() : earlier;
        for (const auto& w : world.prompt.formattedWarnings) EXPECT_EQ(w.inserts.at(0), named.string());
        if (c.mayWrite && c.earlier == Unreadable) {
            ASSERT_TRUE(SaveOptions(options, services));
            EXPECT_EQ(world.folder.readFile(world.folder.optionsFile()), BytesOf(options)) << "the user's own file";
            EXPECT_TRUE(std::filesystem::is_symlink(earlier)) << "the earlier file left as it is";
        }
    }
}

TEST(RefreshTimeZone, DaylightSavingAddsTheDaylightBias) {
    struct Case {
        TimeZoneInfo zone;
        int32_t bias;
        std::u16string name;
    };
    const Case cases[] = {
        {{300, -60, true, u"Eastern Standard Time", u"Eastern Daylight Time"}, 240,
         u"Eastern Daylight Time"},
        {{300, -60, false, u"Eastern Standard Time", u"Eastern Daylight Time"}, 300,
         u"Eastern Standard Time"},
        {{-600, -60, true, u"AUS Eastern Standard Time", u"AUS Eastern Daylight Time"}, -660,
         u"AUS Eastern Daylight Time"},
        {{0, 0, false, u"Coordinated Universal Time", u""}, 0, u"Coordinated Universal Time"},
        {{-345, 0, false, std::u16string(40, u'N'), u""}, -345, std::u16string(31, u'N')},
    };
    for (const Case& c : cases) {
        OptionsWorld world;
        world.timeZone.zone = c.zone;
        UserOptions options = Defaults();
        RefreshTimeZone(options, world.services());
        EXPECT_EQ(options.timeZoneBias, c.bias);
        EXPECT_EQ(FieldText(options.timeZoneName), c.name);
    }
}

TEST(Autostart, DeleteRemovesOnlyTheRunValue) {
    OptionsWorld world;
    WriteAutostartValue(world.services());
    SaveOptions(Defaults(), world.services());
    DeleteAutostartValue(world.services());
    EXPECT_EQ(world.registry.find(RegistryRoot::CurrentUser, kRunKeyPath, "Solvane"), nullptr);
    EXPECT_NE(world.registry.find(RegistryRoot::LocalMachine, kRegistrationKeyPath,
                                  kAppPathValueName), nullptr);
}

}  // namespace

namespace {

// The screen saver reads the clock's options and writes nothing.
TEST(LoadSaverOptions, TheClocksRecordOrTheSaversDefaultsAndNothingWritten) {
    OptionsWorld world;
    UserOptions options;
    LoadSaverOptions(options, world.services());
    EXPECT_EQ(options.displayFlags, kSaverDisplayFlags) << "a missing file: the saver's defaults";
    EXPECT_TRUE(world.prompt.warnings.empty()) << "and no message";

    UserOptions custom = Defaults();
    custom.viewpoint = kViewSpinningGlobe;
    custom.displayFlags = kShowGrid;
    world.folder.writeFile(world.folder.optionsFile(), BytesOf(custom));
    LoadSaverOptions(options, world.services());
    EXPECT_EQ(options.viewpoint, kViewSpinningGlobe);
    EXPECT_EQ(options.displayFlags, uint32_t(kShowGrid));

    std::vector<char> shortFile = BytesOf(custom);
    shortFile.pop_back();
    world.folder.writeFile(world.folder.optionsFile(), shortFile);
    LoadSaverOptions(options, world.services());
    ASSERT_EQ(world.prompt.warnings.size(), 1u);
    EXPECT_EQ(world.prompt.warnings[0].first, unsigned(IDS_OPTIONS_CORRUPT));
    EXPECT_EQ(options.displayFlags, kSaverDisplayFlags);
    EXPECT_EQ(options.viewpoint, kViewOverHome);
    EXPECT_EQ(world.folder.readFile(world.folder.optionsFile()), shortFile) << "the file is left alone";
    EXPECT_TRUE(world.registry.values.empty()) << "no autostart value, no AppPath";
}

TEST(MainProgramFolder, TheAppPathUpToItsLastBackslash) {
    RecordingRegistry registry;
    EXPECT_EQ(MainProgramFolder(registry), "") << "no value";
    const auto store = [&](const std::string& value) {
        registry.values[{RegistryRoot::LocalMachine, std::string(kRegistrationKeyPath) + "\\" + kAppPathValueName}] = value;
    };
    store(std::string("C:\\Program Files\\Solvane\\solvane.exe") + std::string(200, '\0'));
    EXPECT_EQ(MainProgramFolder(registry), "C:\\Program Files\\Solvane\\");
    store("C:\\Solvane\\");
    EXPECT_EQ(MainProgramFolder(registry), "C:\\Solvane\\");
    store("solvane.exe");
    EXPECT_EQ(MainProgramFolder(registry), "") << "no folder in it";
    store(std::string("\0C:\\x\\y.exe", 11));
    EXPECT_EQ(MainProgramFolder(registry), "") << "nothing before the padding";
}

}  // namespace
