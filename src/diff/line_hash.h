// A keyed hash of line texts, for the numbering's table.
#ifndef VRELSDIFF_DIFF_LINE_HASH_H_
#define VRELSDIFF_DIFF_LINE_HASH_H_

#include <cstdint>
#include <string_view>

namespace diff {

// Lines chosen to collide under one key collide under another only by
// chance, so a key the input cannot know keeps the table's look-ups short.
struct HashKey {
  std::uint64_t k0 = 0;
  std::uint64_t k1 = 0;
};

// A key drawn once per process (io_utils::random_bits), the same for every
// call.
HashKey run_hash_key();

// The hash of `text` under `key`; equal texts hash alike under one key.
std::uint64_t hash_line(std::string_view text, HashKey key);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LINE_HASH_H_
