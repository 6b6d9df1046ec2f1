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

TEST_F(UserFiles, AnEarlierInstallsOptionsAreCopiedOnceAndKept) {
    const std::vector<char> earlier(488, 'e');
    folder.writeFile(beside(), earlier);
    const UserFileFolders folders = UserFileFoldersFor(program());
    // Before the clock has run, readers take the earlier file.
    EXPECT_EQ(OptionsFileToRead(program(), folders), beside().string());

    AdoptOptionsBesideProgram(program(), folders);  // also makes the user's folder
    EXPECT_EQ(folder.readFile(own()), earlier);
    EXPECT_EQ(folder.readFile(beside()), earlier) << "another user may still take it over";
    EXPECT_EQ(OptionsFileToRead(program(), folders), own().string());

    // The user's own settings are never replaced by the earlier ones.
    const std::vector<char> changed(488, 'c');
    folder.writeFile(own(), changed);
    AdoptOptionsBesideProgram(program(), folders);
    EXPECT_EQ(folder.readFile(own()), changed);
}

TEST_F(UserFiles, APortableCopyAdoptsNothingAndSavesBesideItself) {
    folder.writeFile(folder.dir / "portable", {});
    folder.writeFile(beside(), std::vector<char>(488, 'p'));
    const UserFileFolders folders = UserFileFoldersFor(program());
    AdoptOptionsBesideProgram(program(), folders);
    EXPECT_FALSE(std::filesystem::exists(roaming / "Solvane"));
    EXPECT_EQ(OptionsFileToRead(program(), folders), beside().string());
}

TEST_F(UserFiles, TheFirstSaveMakesTheUsersFolder) {
    OptionsWorld world;
    OptionsServices services = world.services();
    services.optionsFile = OptionsFilePath(UserFileFoldersFor(program()));
    UserOptions options;
    SetDefaultOptions(options);
    ASSERT_TRUE(SaveOptions(options, services));
    EXPECT_EQ(std::filesystem::file_size(own()), sizeof options);
    EXPECT_FALSE(std::filesystem::exists(beside()));
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
