#include "output/OutputFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora {
namespace {

namespace fs = std::filesystem;

class DiskOutputFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("velmora-out-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_ / "ItemListJillNormal.txt", fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }
  // The bytes of a file, or the reason it could not be read.
  static std::string Read(const fs::path& path) {
    std::string bytes;
    const std::optional<std::string> reason = ReadFileBytes(path.string(), bytes);
    return reason ? "<" + *reason + ">" : bytes;
  }
  static size_t EntryCount(const fs::path& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }
  fs::path dir_;
};

TEST_F(DiskOutputFilesTest, WritesExactBytesAndReplacesAWholeExistingFile) {
  DiskOutputFiles files(dir_.string());
  ASSERT_FALSE(files.Write("a.txt", std::string("first\r\nlonger content\r\n")));
  ASSERT_FALSE(files.Write("a.txt", std::string("1\r\n\0x", 5)));
  EXPECT_EQ(Read(dir_ / "a.txt"), std::string("1\r\n\0x", 5));
  EXPECT_EQ(EntryCount(dir_), 1u);  // no temporary file left behind
}

// A directory that does not exist, and one that is a plain file.
TEST_F(DiskOutputFilesTest, AnUnusableDirectoryFailsWithTheSystemsReason) {
  ASSERT_FALSE(DiskOutputFiles(dir_.string()).Write("plain", "x"));
  for (const auto& [directory, reason] : {std::pair<const char*, const char*>{
                                              "missing", "No such file or directory"},
                                          {"plain", "Not a directory"}}) {
    DiskOutputFiles files((dir_ / directory).string());
    EXPECT_EQ(files.Write("a.txt", "x"), std::optional<std::string>(reason)) << directory;
  }
}

// A path below the directory, or an absolute one: the temporary file lies
// beside the target.
TEST_F(DiskOutputFilesTest, ANameMayHoldDirectoriesOrBeAnAbsolutePath) {
  DiskOutputFiles files(dir_.string());
  fs::create_directory(dir_ / "sub");
  ASSERT_FALSE(files.Write("sub/a.txt", "below"));
  ASSERT_FALSE(DiskOutputFiles("elsewhere").Write((dir_ / "sub" / "b.txt").string(), "absolute"));
  EXPECT_EQ(Read(dir_ / "sub" / "a.txt"), "below");
  EXPECT_EQ(Read(dir_ / "sub" / "b.txt"), "absolute");
  EXPECT_EQ(EntryCount(dir_ / "sub"), 2u);
  EXPECT_EQ(files.Write("sub/", "x"), std::optional<std::string>("no file name"));
  EXPECT_EQ(files.Write("missing/a.txt", "x"),
            std::optional<std::string>("No such file or directory"));
}

TEST_F(DiskOutputFilesTest, ReadOnlySeedFileIsLeftIntact) {
  DiskOutputFiles files(dir_.string());
  const fs::path target = dir_ / "ItemListJillNormal.txt";
  ASSERT_FALSE(files.Write("ItemListJillNormal.txt", "old seed\r\n"));
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::optional<std::string> reason = files.Write("ItemListJillNormal.txt", "new");
  EXPECT_EQ(reason, std::optional<std::string>("the file is read-only"));
  EXPECT_EQ(Read(target), "old seed\r\n");
  EXPECT_EQ(EntryCount(dir_), 1u);
}

// Reading stops at max_bytes, also past a chunk of 64 KiB, so that a reader
// asking for one byte more than it takes can tell a file too long for it.
TEST_F(DiskOutputFilesTest, ReadFileBytesReadsAtMostMaxBytes) {
  std::string big(200000, 'x');
  for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>('a' + i % 26);
  ASSERT_FALSE(DiskOutputFiles(dir_.string()).Write("big", big));
  for (size_t max : {size_t{0}, size_t{5}, size_t{65536}, size_t{65539}, size_t{199999},
                     size_t{200000}, size_t{200001}}) {
    std::string bytes = "stale";
    EXPECT_FALSE(ReadFileBytes((dir_ / "big").string(), bytes, max)) << max;
    EXPECT_TRUE(bytes == big.substr(0, max)) << max << ": " << bytes.size() << " bytes read";
  }
  EXPECT_EQ(Read(dir_ / "missing"), "<cannot open it>");
}

}  // namespace
}  // namespace velmora
