#include "app/ProgramFiles.h"
#include "platform/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdio>
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
