// The growable byte buffer: appends that outgrow its room, up to a block of
// huge pages.
#include "io_utils/page_memory.h"

#include <cstddef>
#include <string>

#include <gtest/gtest.h>

namespace io_utils {
namespace {

// Each piece outgrows the room left by the ones before, the last one the
// 2 MiB at which blocks come in huge pages; the bytes held survive every
// move to a larger block.
TEST(ByteBuffer, AppendGrowsAndKeepsTheBytesHeld) {
  ByteBuffer buffer;
  buffer.append("");
  EXPECT_EQ(0u, buffer.size());
  std::string expected;
  char fill = 'a';
  for (std::size_t size : {1u, 4096u, 4097u, 100000u, 3u << 20}) {
    SCOPED_TRACE(size);
    const std::string piece(size, fill++);
    ASSERT_GT(piece.size(), buffer.spare_size());
    buffer.append(piece);
    expected += piece;
    ASSERT_TRUE(buffer.view() == expected);
    EXPECT_GE(buffer.capacity(), buffer.size());
  }
}

// Views of the bytes stay valid while appends fit in the room.
TEST(ByteBuffer, AppendWithinTheRoomLeavesTheBytesWhereTheyAre) {
  ByteBuffer buffer;
  buffer.reserve(100);
  buffer.append("first");
  const char* start = buffer.data();
  buffer.append(std::string(buffer.spare_size(), 'x'));
  EXPECT_EQ(start, buffer.data());
  EXPECT_EQ(0u, buffer.spare_size());
  EXPECT_EQ("first", buffer.view().substr(0, 5));
}

}  // namespace
}  // namespace io_utils
