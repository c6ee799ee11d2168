#include "output/OutputFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>


namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

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
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
  fs::path dir_;
};

TEST_F(DiskOutputFilesTest, WritesExactBytesAndReplacesAWholeExistingFile) {
  DiskOutputFiles files(dir_.string());
  ASSERT_FALSE(files.Write("a.txt", std::string("first\r\nlonger content\r\n")));
  ASSERT_FALSE(files.Write("a.txt", std::string("1\r\n\0x", 5)));
  EXPECT_EQ(ReadFile(dir_ / "a.txt"), std::string("1\r\n\0x", 5));
  EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind
}

// A directory that does not exist, and one that is a plain file.
TEST_F(DiskOutputFilesTest, AnUnusableDirectoryFailsWithTheSystemsReason) {
  std::ofstream(dir_ / "plain") << "x";
  for (const auto& [directory, reason] : {std::pair<const char*, const char*>{
                                              "missing", "No such file or directory"},
                                          {"plain", "Not a directory"}}) {
    DiskOutputFiles files((dir_ / directory).string());
    EXPECT_EQ(files.Write("a.txt", "x"), std::optional<std::string>(reason)) << directory;
  }
}

TEST_F(DiskOutputFilesTest, ReadOnlySeedFileIsLeftIntact) {
  const fs::path target = dir_ / "ItemListJillNormal.txt";
  std::ofstream(target, std::ios::binary) << "old seed\r\n";
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  DiskOutputFiles files(dir_.string());
  std::optional<std::string> reason = files.Write("ItemListJillNormal.txt", "new");
  EXPECT_EQ(reason, std::optional<std::string>("the file is read-only"));
  EXPECT_EQ(ReadFile(target), "old seed\r\n");
  EXPECT_EQ(EntryCount(), 1u);
}

}  // namespace
}  // namespace velmora
