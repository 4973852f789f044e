#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/ExampleFolder.h"

using namespace quarmel;
namespace fs = std::filesystem;

TEST(ExampleFolder, TheInstalledFolderBesideTheProgramComesBeforeTheSourceTree) {
    const fs::path root = fs::temp_directory_path() / "quarmel-example-folder-test";
    fs::remove_all(root);
    const fs::path installed = root / "usr" / "share" / "quarmel" / "examples";
    const fs::path source = root / "src" / "examples";
    const std::string bin = (root / "usr" / "bin").string();
    fs::create_directories(installed);
    fs::create_directories(source);
    fs::create_directories(bin);

    // Neither folder holds a catalogue yet.
    EXPECT_EQ(FindExampleFolder(bin, source.string()), "");
    std::ofstream(source / "catalogue.tsv") << "";
    EXPECT_EQ(FindExampleFolder(bin, source.string()), source.string());
    std::ofstream(installed / "catalogue.tsv") << "";
    EXPECT_EQ(FindExampleFolder(bin, source.string()), installed.string());
    fs::remove_all(root);
}
