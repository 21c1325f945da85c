// Line classes by hashing: the distinct lines of the shorter list go into
// an open-addressing table, and every line of the longer list is looked up
// there. A hash only decides where to look; two lines get one number only
// after their bytes compare equal, so equal numbers mean equal lines
// without exception. Only the shorter list is stored, so a long file
// against a short one costs a hash per line and little memory. The hash is
// keyed afresh in every run, so that lines cannot be chosen to collide in
// it; should a look-up still step over many slots, numbering gives up
// rather than take quadratic time.
#include "diff/line_classes.h"

#include <cstddef>
#include <string_view>
#include <utility>

namespace diff {
namespace {

struct Slot {
  std::uint32_t tag = 0;   // the high half of the line's hash
  std::uint32_t line = 0;  // index in the shorter list plus 1; 0 when empty
};

// The distinct lines of one list, at most half of the slots in use.
struct LineTable {
  Lines lines;
  std::vector<Slot> slots;
  std::uint64_t stepped_over = 0;  // slots passed by all look-ups so far

  // The slot holding the first line equal to `text`, or the empty slot
  // where it belongs.
  Slot& find(std::string_view text, std::uint64_t hash) {
    const std::size_t mask = slots.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots[i];
      if (slot.line == 0 ||
          (slot.tag == tag && lines[slot.line - 1].normalized == text)) {
        return slot;
      }
      ++stepped_over;
    }
  }
};

}  // namespace

std::optional<LineClasses> line_classes(Lines left, Lines right,
                                        NumberingLimits limits) {
  const bool left_shorter = left.size() <= right.size();
  Lines shorter = left_shorter ? left : right;
  Lines longer = left_shorter ? right : left;
  std::size_t capacity = 2;
  while (capacity < 2 * shorter.size()) capacity *= 2;
  LineTable table{shorter, std::vector<Slot>(capacity)};
  const auto hash = [key = limits.key](std::string_view text) {
    return hash_line(text, key);
  };
  // Checked once per line, so that no look-up runs far past it.
  const auto over_budget = [&](std::size_t lines_done) {
    return table.stepped_over > limits.slots_per_line * (lines_done + 1);
  };

  std::vector<std::uint32_t> short_classes(shorter.size());
  std::uint32_t next_class = 0;
  for (std::size_t i = 0; i < shorter.size(); ++i) {
    const std::string_view text = shorter[i].normalized;
    const std::uint64_t h = hash(text);
    Slot& slot = table.find(text, h);
    if (slot.line == 0) {
      slot = {.tag = static_cast<std::uint32_t>(h >> 32),
              .line = static_cast<std::uint32_t>(i + 1)};
      short_classes[i] = next_class++;
    } else {
      short_classes[i] = short_classes[slot.line - 1];
    }
    if (over_budget(i))
      return std::nullopt;
  }

  std::vector<std::uint32_t> long_classes(longer.size());
  for (std::size_t j = 0; j < longer.size(); ++j) {
    const std::string_view text = longer[j].normalized;
    const Slot& slot = table.find(text, hash(text));
    long_classes[j] =
        slot.line == 0 ? kNoPartner : short_classes[slot.line - 1];
    if (over_budget(shorter.size() + j))
      return std::nullopt;
  }
  if (left_shorter) {
    return LineClasses{std::move(short_classes), std::move(long_classes),
                       next_class};
  }
  return LineClasses{std::move(long_classes), std::move(short_classes),
                     next_class};
}

PartneredLists partnered_lines(const LineClasses& classes) {
  // A number is on both sides when each side has it; kNoPartner is on one
  // side only, by construction.
  std::vector<std::uint8_t> sides(classes.count, 0);
  auto mark = [&sides](const std::vector<std::uint32_t>& list,
                       std::uint8_t side) {
    for (std::uint32_t c : list) {
      if (c != kNoPartner)
        sides[c] |= side;
    }
  };
  mark(classes.left, 1);
  mark(classes.right, 2);
  auto keep = [&sides](const std::vector<std::uint32_t>& list) {
    PartneredLines kept;
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (list[i] != kNoPartner && sides[list[i]] == 3) {
        kept.classes.push_back(list[i]);
        kept.positions.push_back(static_cast<std::uint32_t>(i));
      }
    }
    return kept;
  };
  return {keep(classes.left), keep(classes.right), classes.count};
}

CommonPairs whole_list_pairs(const CommonPairs& partnered_runs,
                             const PartneredLists& lists) {
  CommonPairs runs;
  for (const CommonRun& run : partnered_runs) {
    for (std::uint64_t t = 0; t < run.length; ++t) {
      const std::uint64_t left = lists.left.positions[run.left + t];
      const std::uint64_t right = lists.right.positions[run.right + t];
      if (!runs.empty() && runs.back().left + runs.back().length == left &&
          runs.back().right + runs.back().length == right) {
        ++runs.back().length;
      } else {
        runs.push_back({.left = left, .right = right, .length = 1});
      }
    }
  }
  return runs;
}

}  // namespace diff
