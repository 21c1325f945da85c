// A block of bytes whose room is fixed when it is made, for storage that
// others hold views into.
#ifndef VRELSDIFF_IO_UTILS_FIXED_BLOCK_H_
#define VRELSDIFF_IO_UTILS_FIXED_BLOCK_H_

#include <cstddef>
#include <optional>
#include <string_view>

#include "io_utils/page_memory.h"

namespace io_utils {

// Bytes are added only into the room the block was made with, and nothing
// it holds ever moves: a view of its bytes stays valid for as long as the
// block lives, however much is added after it. Moving the block hands over
// its bytes where they lie; assigning over a block, which would release
// bytes that views point into, is not offered.
class FixedBlock {
 public:
  // Room for at least `capacity` bytes.
  explicit FixedBlock(std::size_t capacity) { bytes_.reserve(capacity); }
  FixedBlock(FixedBlock&&) noexcept = default;
  FixedBlock& operator=(FixedBlock&&) = delete;

  std::size_t capacity() const { return bytes_.capacity(); }
  std::size_t spare_size() const { return bytes_.spare_size(); }

  // The room after the bytes held, for a writer that puts at most
  // spare_size() bytes there and then keeps the first `count` of them with
  // commit, which returns a view of them.
  char* spare() { return bytes_.spare(); }
  std::string_view commit(std::size_t count) {
    const char* start = bytes_.spare();
    bytes_.commit(count);
    return {start, count};
  }

  // A view of a copy of `bytes` in the block, or nothing, with the block
  // unchanged, when they do not fit in its room.
  std::optional<std::string_view> append(std::string_view bytes) {
    if (bytes.size() > spare_size())
      return std::nullopt;
    const char* start = bytes_.spare();
    bytes_.append(bytes);
    return std::string_view(start, bytes.size());
  }

 private:
  ByteBuffer bytes_;
};

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_FIXED_BLOCK_H_
