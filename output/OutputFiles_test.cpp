#include "output/OutputFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <vector>

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

// A folder standing where the file should go: the rename over it fails, the
// reason is the system's, and the temporary file is gone again.
TEST_F(DiskOutputFilesTest, AFailedRenameLeavesNoTemporaryFile) {
  fs::create_directory(dir_ / "a.txt");
  EXPECT_EQ(DiskOutputFiles(dir_.string()).Write("a.txt", "new"),
            std::optional<std::string>("Is a directory"));
  EXPECT_TRUE(fs::is_directory(dir_ / "a.txt"));
  EXPECT_EQ(EntryCount(dir_), 1u);
}

// Records the calls a write makes, one line each, and fails the call named
// in `fail_at` with the reason "injected".
class RecordingFileCalls : public FileCalls {
 public:
  explicit RecordingFileCalls(std::string fail_at = "") : fail_at_(std::move(fail_at)) {}
  std::optional<std::string> Create(const std::string& path, int& handle) override {
    handle = 7;
    return Record("Create", path);
  }
  std::optional<std::string> Write(int handle, const std::string& bytes) override {
    return Record("Write", std::to_string(handle) + " " + bytes);
  }
  std::optional<std::string> Sync(int handle) override {
    return Record("Sync", std::to_string(handle));
  }
  std::optional<std::string> Close(int handle) override {
    return Record("Close", std::to_string(handle));
  }
  std::optional<std::string> Rename(const std::string& from, const std::string& to) override {
    return Record("Rename", from + " " + to);
  }
  void SyncDirectory(const std::string& dir) override { Record("SyncDirectory", dir); }
  void Remove(const std::string& path) override { Record("Remove", path); }

  std::vector<std::string> calls;

 private:
  std::optional<std::string> Record(const std::string& call, const std::string& args) {
    calls.push_back(call + " " + args);
    if (call == fail_at_) return "injected";
    return std::nullopt;
  }
  std::string fail_at_;
};

// The temporary file's name, ".a.txt.NNNNNN.tmp" beside the target, taken
// from the first call.
std::string TempName(const std::vector<std::string>& calls) {
  return calls.at(0).substr(std::string("Create ").size());
}

// The new data is on the disk before the rename makes it the seed file, and
// the directory that holds the rename is flushed after it.
TEST(DiskOutputFilesCallsTest, FlushesTheDataBeforeTheRenameAndTheDirectoryAfterIt) {
  RecordingFileCalls calls;
  ASSERT_FALSE(DiskOutputFiles("out", calls).Write("a.txt", "bytes"));
  const std::string temp = TempName(calls.calls);
  EXPECT_TRUE(temp.starts_with("out/.a.txt.") && temp.ends_with(".tmp")) << temp;
  EXPECT_EQ(calls.calls, (std::vector<std::string>{"Create " + temp, "Write 7 bytes", "Sync 7",
                                                   "Close 7", "Rename " + temp + " out/a.txt",
                                                   "SyncDirectory out"}));
}

// Whichever call fails, its reason is the write's, nothing is renamed after
// it, the file is closed once it was opened, and the temporary file removed.
TEST(DiskOutputFilesCallsTest, AFailingCallStopsTheWriteAndRemovesTheTemporaryFile) {
  const struct {
    const char* fail_at;
    std::vector<std::string> after_create;  // the calls after Create, with T for the temp file
  } cases[] = {
      {"Create", {}},
      {"Write", {"Write 7 x", "Close 7", "Remove T"}},
      {"Sync", {"Write 7 x", "Sync 7", "Close 7", "Remove T"}},
      {"Close", {"Write 7 x", "Sync 7", "Close 7", "Remove T"}},
      {"Rename", {"Write 7 x", "Sync 7", "Close 7", "Rename T out/a.txt", "Remove T"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fail_at);
    RecordingFileCalls calls(c.fail_at);
    EXPECT_EQ(DiskOutputFiles("out", calls).Write("a.txt", "x"),
              std::optional<std::string>("injected"));
    const std::string temp = TempName(calls.calls);
    std::vector<std::string> expected = {"Create " + temp};
    for (const std::string& call : c.after_create)
      expected.push_back(std::regex_replace(call, std::regex("\\bT\\b"), temp));
    EXPECT_EQ(calls.calls, expected);
  }
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
