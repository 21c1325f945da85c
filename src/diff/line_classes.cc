// Line classes by sorting: lines are ordered by length, then by their bytes
// eight at a time, and lines that agree throughout share a number. Nothing
// is hashed, so equal numbers mean equal bytes without exception.
#include "diff/line_classes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace diff {
namespace {

struct Key {
  std::uint64_t size = 0;
  std::uint64_t head = 0;  // eight bytes from the current offset, first highest
  std::uint32_t line = 0;  // left index, or the left count plus right index
};

std::uint64_t eight_bytes(std::string_view s, std::size_t offset) {
  std::uint64_t head = 0;
  for (std::size_t i = offset; i < offset + 8; ++i) {
    head <<= 8;
    if (i < s.size())
      head |= static_cast<unsigned char>(s[i]);
  }
  return head;
}

// Keys [begin, end) whose lines agree in length and in the bytes before
// `offset`.
struct Group {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t offset = 0;
};

bool key_less(const Key& x, const Key& y) {
  return x.size != y.size ? x.size < y.size : x.head < y.head;
}

}  // namespace

LineClasses line_classes(Lines left, Lines right) {
  const std::size_t a = left.size();
  auto text = [&](std::uint32_t line) -> std::string_view {
    return line < a ? left[line].normalized : right[line - a].normalized;
  };
  LineClasses classes;
  classes.left.resize(a);
  classes.right.resize(right.size());
  std::uint32_t next_class = 0;
  auto assign = [&](const Key& key, std::uint32_t number) {
    if (key.line < a) {
      classes.left[key.line] = number;
    } else {
      classes.right[key.line - a] = number;
    }
  };

  std::vector<Key> keys;
  keys.reserve(a + right.size());
  for (std::size_t i = 0; i < a + right.size(); ++i) {
    const auto line = static_cast<std::uint32_t>(i);
    keys.push_back({.size = text(line).size(), .line = line});
  }
  // Each round reads eight more bytes of every line in a group, sorts the
  // group on them and splits it; only the lines of one group are touched,
  // and no comparison of the sort leaves the key array.
  std::vector<Group> pending = {{0, keys.size(), 0}};
  while (!pending.empty()) {
    const Group group = pending.back();
    pending.pop_back();
    const Key* first = &keys[group.begin];
    const std::string_view first_text = text(first->line);
    // A group of copies of one line is common; it is settled by one linear
    // comparison instead of a round per eight bytes.
    const bool all_equal =
        group.offset > 0 &&
        std::all_of(keys.begin() + static_cast<std::ptrdiff_t>(group.begin),
                    keys.begin() + static_cast<std::ptrdiff_t>(group.end),
                    [&](const Key& key) {
                      const std::string_view s = text(key.line);
                      return std::memcmp(s.data() + group.offset,
                                         first_text.data() + group.offset,
                                         s.size() - group.offset) == 0;
                    });
    if (all_equal) {
      for (std::size_t i = group.begin; i < group.end; ++i) {
        assign(keys[i], next_class);
      }
      ++next_class;
      continue;
    }
    for (std::size_t i = group.begin; i < group.end; ++i) {
      keys[i].head = eight_bytes(text(keys[i].line), group.offset);
    }
    std::sort(keys.begin() + static_cast<std::ptrdiff_t>(group.begin),
              keys.begin() + static_cast<std::ptrdiff_t>(group.end), key_less);
    for (std::size_t begin = group.begin; begin < group.end;) {
      std::size_t end = begin + 1;
      while (end < group.end && !key_less(keys[begin], keys[end])) ++end;
      if (end - begin == 1 || keys[begin].size <= group.offset + 8) {
        for (std::size_t i = begin; i < end; ++i) assign(keys[i], next_class);
        ++next_class;
      } else {
        pending.push_back({begin, end, group.offset + 8});
      }
      begin = end;
    }
  }
  return classes;
}

}  // namespace diff
