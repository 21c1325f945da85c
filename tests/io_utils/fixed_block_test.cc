// A block whose room is fixed: it refuses what does not fit, and the views
// it hands out survive everything done to it afterwards.
#include "io_utils/fixed_block.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace io_utils {
namespace {

TEST(FixedBlock, RefusesBytesBeyondItsRoom) {
  FixedBlock block(8);
  const std::size_t capacity = block.capacity();
  ASSERT_GE(capacity, 8u);
  const std::string filler(capacity - 3, 'f');
  ASSERT_TRUE(block.append(filler).has_value());
  EXPECT_FALSE(block.append("four").has_value());
  EXPECT_EQ(3u, block.spare_size());
  EXPECT_EQ(std::optional<std::string_view>("abc"), block.append("abc"));
  EXPECT_FALSE(block.append("d").has_value());
  EXPECT_EQ(std::optional<std::string_view>(""), block.append(""));
  EXPECT_EQ(capacity, block.capacity());
}

// The views point into the blocks themselves, so they stay valid as the
// blocks are moved, here by the list that holds them growing.
TEST(FixedBlock, ViewsSurviveMovesOfTheBlocks) {
  std::vector<FixedBlock> blocks;
  std::vector<std::string_view> views;
  std::vector<std::string> expected;
  for (int i = 0; i < 40; ++i) {
    FixedBlock& block = blocks.emplace_back(64);
    const std::string appended = "appended " + std::to_string(i);
    views.push_back(*block.append(appended));
    expected.push_back(appended);
    const std::string written = "written " + std::to_string(i);
    std::memcpy(block.spare(), written.data(), written.size());
    views.push_back(block.commit(written.size()));
    expected.push_back(written);
  }
  ASSERT_EQ(expected.size(), views.size());
  for (std::size_t i = 0; i < views.size(); ++i)
    EXPECT_EQ(expected[i], views[i]);
}

}  // namespace
}  // namespace io_utils
