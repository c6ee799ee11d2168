#include "output/RoomsDoc.h"

#include <gtest/gtest.h>

#include "output/OutputFiles.h"

namespace velmora {
namespace {

// docs/rooms.md is checked in and reviewed as it is: the generator must give
// it byte for byte.
TEST(RoomsDocTest, CheckedInFileMatchesTheGenerator) {
  std::string bytes;
  ASSERT_EQ(ReadFileBytes(std::string(VELMORA_SOURCE_DIR) + "/docs/rooms.md", bytes), std::nullopt)
      << "docs/rooms.md cannot be read";
  EXPECT_EQ(bytes, FormatRoomsDoc())
      << "docs/rooms.md is out of date: rebuild it with the rooms-doc target";
}

}  // namespace
}  // namespace velmora
