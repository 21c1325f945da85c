// Helpers for the comparison tests: line lists from letters, runs as pairs,
// edits as text, and a replay of an edit script that checks its numbers.
#ifndef VRELSDIFF_TESTS_DIFF_SCRIPT_CHECK_H_
#define VRELSDIFF_TESTS_DIFF_SCRIPT_CHECK_H_

#include <cctype>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"
#include "types/edit.h"

namespace diff::test {

using Pairs = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

// Line records view their texts; this keeps a test's texts alive for the
// rest of the test program, so that lists can be built and copied freely.
inline std::string_view keep(std::string text) {
  static std::deque<std::string> kept;
  return kept.emplace_back(std::move(text));
}

// One line per letter, compared as that letter; the text is the letter in
// lower case, so a record that copied the normalised form would show it.
inline std::vector<types::CompareLine> letters(std::string_view s) {
  std::vector<types::CompareLine> lines;
  for (char c : s) {
    const auto lower =
        static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    lines.push_back({.text = keep(std::string(1, lower)),
                     .normalized = keep(std::string(1, c)),
                     .line_number = lines.size() + 1});
  }
  return lines;
}

// Lines whose text and normalised form are the same.
inline std::vector<types::CompareLine> plain(
    const std::vector<std::string>& texts) {
  std::vector<types::CompareLine> lines;
  for (const std::string& t : texts) {
    const std::string_view kept = keep(t);
    lines.push_back(
        {.text = kept, .normalized = kept, .line_number = lines.size() + 1});
  }
  return lines;
}

inline Pairs expand(const CommonPairs& runs) {
  Pairs pairs;
  for (const CommonRun& run : runs) {
    for (std::uint64_t t = 0; t < run.length; ++t) {
      pairs.emplace_back(run.left + t, run.right + t);
    }
  }
  return pairs;
}

inline std::string describe(const types::Edit& edit) {
  const char* kind = edit.kind == types::EditKind::Insert   ? "Insert"
                     : edit.kind == types::EditKind::Delete ? "Delete"
                                                            : "Change";
  std::string out = kind;
  for (std::uint64_t n :
       {edit.left_start, edit.left_end, edit.right_start, edit.right_end}) {
    out += " " + std::to_string(n);
  }
  auto list = [&out](Lines lines) {
    out += " [";
    for (std::size_t i = 0; i < lines.size(); ++i) {
      out += i ? "," : "";
      out += lines[i].text;
    }
    out += "]";
  };
  list(edit.left_lines);
  list(edit.right_lines);
  return out;
}

inline std::vector<std::string> describe(
    const std::vector<types::Edit>& script) {
  std::vector<std::string> out;
  for (const types::Edit& edit : script) {
    out.push_back(describe(edit));
  }
  return out;
}

// "" when `runs` are non-empty, strictly increasing and match equal lines;
// otherwise the first fault.
inline std::string check_pairs(Lines left, Lines right,
                               const CommonPairs& runs) {
  std::uint64_t next_left = 0;
  std::uint64_t next_right = 0;
  for (const CommonRun& run : runs) {
    if (run.length == 0)
      return "empty run";
    if (run.left < next_left || run.right < next_right)
      return "not increasing";
    if (run.left + run.length > left.size() ||
        run.right + run.length > right.size()) {
      return "past the end";
    }
    for (std::uint64_t t = 0; t < run.length; ++t) {
      if (left[run.left + t].normalized != right[run.right + t].normalized) {
        return "unequal pair at left " + std::to_string(run.left + t);
      }
    }
    next_left = run.left + run.length;
    next_right = run.right + run.length;
  }
  return "";
}

// Replays `script` on `left`: "" when it yields the texts of `right`, every
// record's kind and numbers agree with the lines it covers and it views
// exactly those lines of the two lists, no two records touch and the lines
// between them are equal pairwise; otherwise the first fault.
inline std::string check_script(Lines left, Lines right,
                                const std::vector<types::Edit>& script) {
  std::vector<std::string_view> out;
  std::uint64_t consumed = 0;
  auto copy_common = [&](std::uint64_t to) -> std::string {
    for (; consumed < to; ++consumed) {
      if (out.size() >= right.size() ||
          left[consumed].normalized != right[out.size()].normalized) {
        return "unmatched common line at left " + std::to_string(consumed);
      }
      out.push_back(right[out.size()].text);
    }
    return "";
  };
  for (std::size_t n = 0; n < script.size(); ++n) {
    const types::Edit& e = script[n];
    const std::string where = "edit " + std::to_string(n) + ": ";
    const bool insert = e.kind == types::EditKind::Insert;
    const bool remove = e.kind == types::EditKind::Delete;
    const std::uint64_t left_before = insert ? e.left_start : e.left_start - 1;
    const std::uint64_t right_before =
        remove ? e.right_start : e.right_start - 1;
    const std::uint64_t left_count = insert ? 0 : e.left_end - e.left_start + 1;
    const std::uint64_t right_count =
        remove ? 0 : e.right_end - e.right_start + 1;
    if ((insert && e.left_end != e.left_start) ||
        (remove && e.right_end != e.right_start)) {
      return where + "empty side has two numbers";
    }
    if (left_count != e.left_lines.size() ||
        right_count != e.right_lines.size() ||
        (e.left_lines.empty() != insert) || (e.right_lines.empty() != remove)) {
      return where + "kind, numbers and lines disagree";
    }
    if (left_before < consumed || (n > 0 && left_before == consumed)) {
      return where + "touches or overlaps the previous edit";
    }
    if (std::string fault = copy_common(left_before); !fault.empty()) {
      return where + fault;
    }
    if (out.size() != right_before)
      return where + "right numbers are off";
    if (left_count > 0 && e.left_lines.data() != &left[left_before]) {
      return where + "left lines are not the covered lines";
    }
    if (right_count > 0 && (right_before + right_count > right.size() ||
                            e.right_lines.data() != &right[right_before])) {
      return where + "right lines are not the covered lines";
    }
    for (const types::CompareLine& line : e.right_lines) {
      out.push_back(line.text);
    }
    consumed = left_before + left_count;
  }
  if (std::string fault = copy_common(left.size()); !fault.empty()) {
    return "after the last edit: " + fault;
  }
  if (out.size() != right.size())
    return "right lines left over";
  return "";
}

}  // namespace diff::test

#endif  // VRELSDIFF_TESTS_DIFF_SCRIPT_CHECK_H_
