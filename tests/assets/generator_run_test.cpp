// The generator as the build runs it: exactly the files of its catalogue,
// the same files the build names as its outputs, byte-for-byte repeatable
// output, and an honest exit status when it cannot write.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/assets/asset_expectations.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/image_catalog.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

int RunGenerator(const std::vector<std::string>& args) {
    std::string program = std::string(SOLBRIM_BUILD_DIR) + "/tools/assetgen";
    std::vector<char*> argv{program.data()};
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

class ScratchDir {
public:
    ScratchDir() {
        path_ = fs::temp_directory_path() / ("assetgen-test-" + std::to_string(getpid()) + "-" + std::to_string(next_++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchDir() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }

private:
    static inline int next_ = 0;
    fs::path path_;
};

std::vector<std::string> FilesUnder(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<char> Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file of the catalogue and nothing else: no half-written leftovers,
// nothing the catalogue does not name.
void ExpectCatalogueFilesOnly(const fs::path& root) {
    const std::vector<std::string> files = FilesUnder(root);
    for (const std::string& file : files) EXPECT_FALSE(file.ends_with(".part")) << file;
    EXPECT_EQ(files, AssetFiles()) << "in " << root;
}

TEST(Generator, BuildNamesExactlyTheFilesTheGeneratorWrites) {
    const std::vector<std::string> fromCatalogue = AssetFiles();
    ASSERT_FALSE(fromCatalogue.empty());
    EXPECT_TRUE(std::is_sorted(fromCatalogue.begin(), fromCatalogue.end()));
    EXPECT_EQ(std::adjacent_find(fromCatalogue.begin(), fromCatalogue.end()), fromCatalogue.end())
        << "two rows of the catalogue write the same file";
    EXPECT_EQ(BuildAssetFiles(), fromCatalogue);
}

TEST(Generator, CatalogueImagesHaveTheFrameGridsTheGameLoads) {
    const std::vector<ImageAsset> images = ImageCatalog();
    ASSERT_EQ(images.size(), ExpectedImages().size());
    for (const ImageAsset& image : images) {
        SCOPED_TRACE(image.name);
        const ExpectedImage& e = Expected(image.name);
        EXPECT_EQ(image.frameWidth, e.frameWidth);
        EXPECT_EQ(image.frameHeight, e.frameHeight);
        EXPECT_EQ(image.frameCount, e.frames);
        EXPECT_EQ(image.levels, e.levels);
    }
}

TEST(Generator, WritesEveryFileTheGameLoadsAndTheSheet) {
    ScratchDir dir;
    ASSERT_EQ(RunGenerator({(dir.Path() / "data").string(), (dir.Path() / "sheet.png").string()}), 0);
    ExpectCatalogueFilesOnly(dir.Path() / "data");
    EXPECT_TRUE(fs::is_regular_file(dir.Path() / "sheet.png"));
    // The build's own data/ is complete too.
    ExpectCatalogueFilesOnly(DataDir());
    EXPECT_TRUE(fs::is_regular_file(std::string(SOLBRIM_BUILD_DIR) + "/data-sheet.png"));
}

TEST(Generator, TwoRunsWriteIdenticalBytesMatchingTheBuild) {
    ScratchDir first, second;
    ASSERT_EQ(RunGenerator({(first.Path() / "data").string(), (first.Path() / "sheet.png").string()}), 0);
    ASSERT_EQ(RunGenerator({(second.Path() / "data").string(), (second.Path() / "sheet.png").string()}), 0);
    const std::vector<std::string> files = FilesUnder(first.Path() / "data");
    ASSERT_EQ(files, AssetFiles());
    EXPECT_EQ(files, FilesUnder(second.Path() / "data"));
    for (const std::string& file : files) {
        std::vector<char> a = Bytes(first.Path() / "data" / file);
        ASSERT_FALSE(a.empty()) << file;
        EXPECT_TRUE(a == Bytes(second.Path() / "data" / file)) << file << " differs between runs";
        EXPECT_TRUE(a == Bytes(fs::path(DataDir()) / file)) << file << " in the build is stale";
    }
    EXPECT_TRUE(Bytes(first.Path() / "sheet.png") == Bytes(second.Path() / "sheet.png"));
}

TEST(Generator, FailsLoudlyWhenItCannotWrite) {
    ScratchDir dir;
    const fs::path blocker = dir.Path() / "not-a-folder";
    std::ofstream(blocker) << "x";
    EXPECT_NE(RunGenerator({(blocker / "data").string()}), 0);
    EXPECT_NE(RunGenerator({}), 0);  // no output folder named
}

}  // namespace
