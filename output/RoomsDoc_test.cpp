#include "output/RoomsDoc.h"

#include <gtest/gtest.h>

#include "output/OutputFiles.h"

namespace velmora {
namespace {

TEST(RoomsDocTest, CheckedInFileMatchesTheGenerator) {
  std::string bytes;
  ASSERT_EQ(ReadFileBytes(std::string(VELMORA_SOURCE_DIR) + "/docs/rooms.md", bytes), std::nullopt)
      << "docs/rooms.md cannot be read";
  EXPECT_EQ(bytes, FormatRoomsDoc())
      << "docs/rooms.md is out of date: rebuild it with the rooms-doc target";
}

TEST(RoomsDocTest, ListsEachRoomOnceWithEveryDoorAndWhereItLeads) {
  const std::string doc = FormatRoomsDoc();
  // "Tea Room" has doors 9, 11, 15, 16 and 18 between other rooms' doors.
  EXPECT_NE(doc.find("## Tea Room\n\n"
                     "- Door 9 leads to Dining Room, arriving at door 20\n"
                     "- Door 11 leads to Northern Corridor, arriving at door 10\n"
                     "- Door 15 leads to Bar, arriving at door 51\n"
                     "- Door 16 leads to Kitchen, arriving at door 125\n"
                     "- Door 18 leads to West Wing Outer Stairway, arriving at door 55\n\n"
                     "## "),
            std::string::npos);
  EXPECT_NE(doc.find("- Door 84 leads to C Corridor, arriving at door 80\n"
                     "- Door 85 leads nowhere\n"),
            std::string::npos);
  EXPECT_NE(doc.find("264 doors in 120 rooms"), std::string::npos);
}

}  // namespace
}  // namespace velmora
