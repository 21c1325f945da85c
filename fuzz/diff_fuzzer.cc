// Fuzz target: the edit script and every way of matching lines, on short
// lists over a few distinct lines so that lines repeat. The ways of the
// large inputs must all find what the diagonal search's full trace finds.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "diff/common_pairs.h"
#include "diff/compute_diff.h"
#include "diff/diagonal_search.h"
#include "diff/lcs.h"
#include "diff/lcs_walk.h"
#include "diff/myers_common_pairs.h"
#include "diff/reference_pairs.h"
#include "diff/script_check.h"
#include "io_utils/read_lines.h"
#include "types/compare_line.h"
#include "types/edit.h"

namespace {

constexpr std::size_t kMaxInput = 1024;
constexpr std::size_t kMaxLines = 160;

// Two of them are blank, for the blank-line filter.
const char* const kAlphabet[] = {"a", "b", "c", "", " \t", "d", "e", "f"};

using Lines = std::vector<types::CompareLine>;

void require(bool condition) {
  if (!condition)
    std::abort();
}

Lines take_lines(FuzzedDataProvider& provider, std::size_t letters) {
  const auto count = provider.ConsumeIntegralInRange<std::size_t>(0, kMaxLines);
  Lines lines;
  for (std::size_t i = 0; i < count && provider.remaining_bytes() > 0; ++i) {
    // The alphabet is static, so the records' views of it stay valid.
    const std::string_view text =
        kAlphabet[provider.ConsumeIntegralInRange<std::size_t>(0, letters - 1)];
    lines.push_back({.text = text, .normalized = text, .line_number = i + 1});
  }
  return lines;
}

// The length of a longest common subsequence, by the textbook table.
std::uint64_t reference_lcs_length(const Lines& left, const Lines& right) {
  std::vector<std::uint64_t> row(right.size() + 1, 0);
  for (const types::CompareLine& l : left) {
    std::uint64_t diagonal = 0;
    for (std::size_t j = 0; j < right.size(); ++j) {
      const std::uint64_t above = row[j + 1];
      row[j + 1] =
          l.text == right[j].text ? diagonal + 1 : std::max(row[j], above);
      diagonal = above;
    }
  }
  return row.back();
}

std::uint64_t matched(const diff::CommonPairs& pairs) {
  std::uint64_t total = 0;
  for (const diff::CommonRun& run : pairs) {
    total += run.length;
  }
  return total;
}

bool blank_edit(const types::Edit& edit) {
  for (const auto* side : {&edit.left_lines, &edit.right_lines}) {
    for (const types::CompareLine& line : *side) {
      if (line.text != "" && line.text != " \t")
        return false;
    }
  }
  return true;
}

bool same_edit(const types::Edit& x, const types::Edit& y) {
  return x.kind == y.kind && x.left_start == y.left_start &&
         x.left_end == y.left_end && x.right_start == y.right_start &&
         x.right_end == y.right_end &&
         x.left_lines.data() == y.left_lines.data() &&
         x.left_lines.size() == y.left_lines.size() &&
         x.right_lines.data() == y.right_lines.data() &&
         x.right_lines.size() == y.right_lines.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size > kMaxInput)
    return 0;
  FuzzedDataProvider provider(data, size);
  const auto letters =
      provider.ConsumeIntegralInRange<std::size_t>(1, std::size(kAlphabet));
  const Lines left = take_lines(provider, letters);
  const Lines right = take_lines(provider, letters);
  // Taken last, so that the saved inputs still make the lists they made.
  const auto rows_per_block =
      provider.ConsumeIntegralInRange<std::size_t>(0, 5);
  const std::uint64_t lcs = reference_lcs_length(left, right);

  const std::vector<types::Edit> script =
      diff::compute_diff(left, right, io_utils::CompareOptions{});
  require(diff::test::check_script(left, right, script).empty());
  // A shortest script: what it keeps is a longest common subsequence.
  std::uint64_t removed = 0;
  for (const types::Edit& edit : script) {
    removed += edit.left_lines.size();
  }
  require(left.size() - removed == lcs);

  // The blank filter drops exactly the edits made of blank lines.
  const std::vector<types::Edit> filtered = diff::compute_diff(
      left, right, io_utils::CompareOptions{.ignore_blank_lines = true});
  std::size_t next = 0;
  for (const types::Edit& edit : script) {
    if (blank_edit(edit))
      continue;
    require(next < filtered.size() && same_edit(filtered[next], edit));
    ++next;
  }
  require(next == filtered.size());

  if (left.empty() || right.empty())
    return 0;
  const diff::CommonPairs table = diff::lcs_common_pairs(left, right);
  const diff::CommonPairs search = diff::myers_common_pairs(left, right);
  require(diff::test::check_pairs(left, right, table).empty());
  require(diff::test::check_pairs(left, right, search).empty());
  require(matched(table) == lcs);
  require(matched(search) == lcs);

  const diff::test::Pairs expected = diff::test::full_trace_pairs(left, right);
  require(diff::test::expand(search) == expected);
  diff::test::TableLengths lengths(left, right);
  require(diff::test::expand(diff::walk_lengths(left.size(), right.size(),
                                                lengths)) == expected);
  require(diff::test::expand(*diff::diagonal_search(left, right, {})) ==
          expected);
  for (diff::PartneredMethod method :
       {diff::PartneredMethod::kDiagonalSearch, diff::PartneredMethod::kRows}) {
    require(diff::test::expand(diff::myers_common_pairs_with(
                left, right,
                {.method = method, .rows_per_block = rows_per_block})) ==
            expected);
  }
  return 0;
}
