#include "OptionsTestDoubles.h"

#include "app/OptionsStore.h"
#include "app/ProgramFiles.h"
#include "platform/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

TEST(FileBesideProgram, CutsAfterTheLastSeparator) {
    EXPECT_EQ(FileBesideProgram("C:\\Program Files\\Solvane\\solvane.exe", "user.bin"),
              "C:\\Program Files\\Solvane\\user.bin");
    EXPECT_EQ(FileBesideProgram("C:\\a.b\\c\\solvane.exe", "\\help\\solvane.htm"),
              "C:\\a.b\\c\\\\help\\solvane.htm");
    EXPECT_EQ(FileBesideProgram("/opt/solvane/solvane", "cheby"), "/opt/solvane/cheby");
    EXPECT_EQ(FileBesideProgram("solvane.exe", "user.bin"), "user.bin");
    EXPECT_EQ(FileBesideProgram("C:\\dir\\", "x"), "C:\\dir\\x");
}

TEST(DataFilePath, BesideTheProgramFirstThenTheCurrentDirectory) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "solvane-datafile-test";
    fs::create_directories(folder);
    const std::string program = (folder / "solvane.exe").string();
    const fs::path data = folder / "USPlaces.bin";
    fs::remove(data);
    EXPECT_EQ(DataFilePath(program, "USPlaces.bin"), "USPlaces.bin");
    std::fclose(std::fopen(data.string().c_str(), "wb"));
    EXPECT_EQ(DataFilePath(program, "USPlaces.bin"), data.string());
    fs::remove_all(folder);
}

// A program folder and a user's folders of their own (XDG_CONFIG_HOME for the roaming data,
// XDG_CACHE_HOME for the local), all under one fresh temporary folder.
class UserFiles : public testing::Test {
protected:
    void SetUp() override {
        roaming = folder.dir / "home" / "config";
        local = folder.dir / "home" / "cache";
        std::filesystem::create_directories(roaming);
        std::filesystem::create_directories(local);
        setenv("XDG_CONFIG_HOME", roaming.c_str(), 1);
        setenv("XDG_CACHE_HOME", local.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_CACHE_HOME");
    }
    std::string program() const { return folder.programPath(); }
    std::filesystem::path beside() const { return folder.dir / "user.bin"; }
    std::filesystem::path own() const { return roaming / "Solvane" / "user.bin"; }
    ProgramFolder folder;
    std::filesystem::path roaming, local;
};

TEST_F(UserFiles, InstalledKeepsSettingsAndPicturesInTheUsersFoldersPortableBesideTheProgram) {
    UserFileFolders folders = UserFileFoldersFor(program());
    EXPECT_FALSE(folders.portable);
    EXPECT_EQ(folders.settings, (roaming / "Solvane").string() + "/");
    EXPECT_EQ(folders.pictures, (local / "Solvane").string() + "/");
    EXPECT_EQ(OptionsFilePath(folders), own().string());

    folder.writeFile(folder.dir / "portable", {});
    folders = UserFileFoldersFor(program());
    EXPECT_TRUE(folders.portable);
    EXPECT_EQ(folders.settings, folder.dir.string() + "/");
    EXPECT_EQ(folders.pictures, folder.dir.string() + "/");
    EXPECT_EQ(OptionsFilePath(folders), beside().string());
}

// An earlier install kept user.bin beside the program: the user's first load takes it over,
// the first save writes the user's copy, and the original stays for the PC's other users.
TEST_F(UserFiles, AnEarlierInstallsOptionsAreTakenOverAndKept) {
    UserOptions earlier;
    SetDefaultOptions(earlier);
    earlier.frameLeft = 123;
    const char* bytes = reinterpret_cast<const char*>(&earlier);
    folder.writeFile(beside(), std::vector<char>(bytes, bytes + sizeof earlier));
    const UserFileFolders folders = UserFileFoldersFor(program());
    EXPECT_EQ(OptionsFileToRead(program(), folders), beside().string()) << "before the clock has run";

    OptionsWorld world;
    OptionsServices services = world.services();
    services.programPath = program();
    services.optionsFile = OptionsFilePath(folders);
    services.earlierOptionsFile = EarlierOptionsFile(program(), folders);
    UserOptions loaded;
    ASSERT_TRUE(LoadOptions(loaded, services));
    EXPECT_EQ(loaded.frameLeft, 123);
    EXPECT_TRUE(world.registry.values.empty()) << "no first run: no autostart value";
    ASSERT_TRUE(SaveOptions(loaded, services));  // also makes the user's folder
    EXPECT_EQ(folder.readFile(beside()), std::vector<char>(bytes, bytes + sizeof earlier));
    EXPECT_EQ(OptionsFileToRead(program(), folders), own().string());

    // From now on the user's own settings count, whatever lies beside the program.
    loaded.frameLeft = 7;
    ASSERT_TRUE(SaveOptions(loaded, services));
    UserOptions again;
    ASSERT_TRUE(LoadOptions(again, services));
    EXPECT_EQ(again.frameLeft, 7);
}

TEST_F(UserFiles, APortableCopyTakesNothingOverAndReadsBesideItself) {
    folder.writeFile(folder.dir / "portable", {});
    const UserFileFolders folders = UserFileFoldersFor(program());
    EXPECT_EQ(EarlierOptionsFile(program(), folders), "");
    EXPECT_EQ(OptionsFileToRead(program(), folders), beside().string());
}

TEST(CommandLine, OnlyAutomationAndEmbeddingSuppressTheSplash) {
    EXPECT_TRUE(CommandLineShowsSplash(""));
    EXPECT_TRUE(CommandLineShowsSplash(nullptr));
    EXPECT_TRUE(CommandLineShowsSplash("C:\\some file.txt"));
    EXPECT_TRUE(CommandLineShowsSplash("/Embeddings"));
    EXPECT_TRUE(CommandLineShowsSplash("/p"));
    EXPECT_FALSE(CommandLineShowsSplash("/Embedding"));
    EXPECT_FALSE(CommandLineShowsSplash("-embedding"));
    EXPECT_FALSE(CommandLineShowsSplash("x /AUTOMATION"));
}

}  // namespace
