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
  void TearDown() override { fs::remove_all(dir_); }
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

// A seed file the user made read-only is kept and the write refused, though
// a rename would replace it.
TEST_F(DiskOutputFilesTest, AReadOnlyFileIsKeptAsItIs) {
  DiskOutputFiles files(dir_.string());
  ASSERT_FALSE(files.Write("a.txt", "old"));
  fs::permissions(dir_ / "a.txt", fs::perms::all, fs::perm_options::remove);
  fs::permissions(dir_ / "a.txt", fs::perms::owner_read, fs::perm_options::add);
  EXPECT_EQ(files.Write("a.txt", "new"), std::optional<std::string>("the file is read-only"));
  EXPECT_EQ(Read(dir_ / "a.txt"), "old");
  EXPECT_EQ(EntryCount(dir_), 1u);
}

// A path below the directory, or an absolute one: the temporary file lies
// beside the target. A directory that is missing or a plain file fails with
// the system's reason.
TEST_F(DiskOutputFilesTest, ANameMayHoldDirectoriesOrBeAnAbsolutePath) {
  DiskOutputFiles files(dir_.string());
  fs::create_directory(dir_ / "sub");
  ASSERT_FALSE(files.Write("sub/a.txt", "below"));
  ASSERT_FALSE(DiskOutputFiles("elsewhere").Write((dir_ / "sub" / "b.txt").string(), "absolute"));
  EXPECT_EQ(Read(dir_ / "sub" / "a.txt"), "below");
  EXPECT_EQ(Read(dir_ / "sub" / "b.txt"), "absolute");
  EXPECT_EQ(EntryCount(dir_ / "sub"), 2u);
  for (const auto& [name, reason] : {std::pair<const char*, const char*>{"sub/", "no file name"},
                                     {"sub/a.txt/c.txt", "Not a directory"}})
    EXPECT_EQ(files.Write(name, "x"), std::optional<std::string>(reason)) << name;
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
