// The rows of two files: the walk of the edit script, blank edits dropped
// under ignore_blank_lines, and read failures.
#include "sdiff/rows.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using cli::sdiff::SdiffOptions;
using sdiff::generate_sdiff_lines;
using sdiff::SdiffLine;
using sdiff::SdiffLineKind;
using testing_support::TempDir;

// "Kind left-number:'left-text' right-number:'right-text'", "-" for an
// absent side, so that a failing table names the row that differs.
std::string describe(const SdiffLine& row) {
  static const char* const kKinds[] = {"Common", "Changed", "LeftOnly",
                                       "RightOnly"};
  std::string out = kKinds[static_cast<int>(row.kind)];
  auto side = [&](const std::optional<std::uint64_t>& number,
                  const std::optional<std::string_view>& text) {
    out += " ";
    out += number ? std::to_string(*number) : "-";
    out += ":";
    out += text ? "'" + std::string(*text) + "'" : "-";
  };
  side(row.left_line_number, row.left_text);
  side(row.right_line_number, row.right_text);
  return out;
}

std::vector<std::string> rows_of(const std::string& left,
                                 const std::string& right,
                                 const SdiffOptions& options = {}) {
  TempDir dir;
  auto rows = generate_sdiff_lines(dir.write("left", left),
                                   dir.write("right", right), options);
  if (!rows.ok()) {
    ADD_FAILURE() << message_text(rows.error());
    return {};
  }
  std::vector<std::string> described;
  for (const SdiffLine& row : rows.value()) described.push_back(describe(row));
  return described;
}

struct Case {
  const char* name;
  std::string left;
  std::string right;
  std::vector<std::string> rows;
};

void check(const std::vector<Case>& cases, const SdiffOptions& options) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.rows, rows_of(c.left, c.right, options));
  }
}

TEST(GenerateSdiffLines, WalksTheEditScript) {
  check(
      {
          {"a change longer on the right",
           "a\nb\nc\nd\n",
           "a\nx\ny\nz\nd\n",
           {"Common 1:'a' 1:'a'", "Changed 2:'b' 2:'x'", "Changed 3:'c' 3:'y'",
            "RightOnly -:- 4:'z'", "Common 4:'d' 5:'d'"}},
          {"a change longer on the left",
           "a\nb\nc\nd\ne\n",
           "a\nx\ne\n",
           {"Common 1:'a' 1:'a'", "Changed 2:'b' 2:'x'", "LeftOnly 3:'c' -:-",
            "LeftOnly 4:'d' -:-", "Common 5:'e' 3:'e'"}},
          {"a delete and an insert",
           "p\na\n",
           "a\nq\n",
           {"LeftOnly 1:'p' -:-", "Common 2:'a' 1:'a'", "RightOnly -:- 2:'q'"}},
          {"both files empty", "", "", {}},
          {"left file empty",
           "",
           "x\ny\nz\n",
           {"RightOnly -:- 1:'x'", "RightOnly -:- 2:'y'",
            "RightOnly -:- 3:'z'"}},
          {"right file empty",
           "x\ny",
           "",
           {"LeftOnly 1:'x' -:-", "LeftOnly 2:'y' -:-"}},
          {"identical files",
           "a\nb\n",
           "a\nb\n",
           {"Common 1:'a' 1:'a'", "Common 2:'b' 2:'b'"}},
          {"a last line added",
           "a\nb\n",
           "a\nb\nc\n",
           {"Common 1:'a' 1:'a'", "Common 2:'b' 2:'b'", "RightOnly -:- 3:'c'"}},
          {"a blank line is a present, empty text",
           "a\nx\nb\n",
           "a\n\nb\n",
           {"Common 1:'a' 1:'a'", "Changed 2:'x' 2:''", "Common 3:'b' 3:'b'"}},
          {"texts as read, line ends removed",
           "a\r\nb\tc\n",
           "a\r\nB\n",
           {"Common 1:'a' 1:'a'", "Changed 2:'b\tc' 2:'B'"}},
      },
      SdiffOptions{});
}

TEST(GenerateSdiffLines, CommonRowsKeepTheirOwnTexts) {
  check({{"case ignored",
          "Abc\nx\n",
          "aBC\nx\n",
          {"Common 1:'Abc' 1:'aBC'", "Common 2:'x' 2:'x'"}}},
        SdiffOptions{.ignore_case = true});
  check({{"white space ignored",
          "a  b\n",
          "a b \n",
          {"Common 1:'a  b' 1:'a b '"}}},
        SdiffOptions{.ignore_space_change = true});
}

TEST(GenerateSdiffLines, ShowsDroppedBlankEditsAsCommonRows) {
  check(
      {
          {"an even blank change steps in pairs",
           "a\n\nb\n",
           "a\n \nb\n",
           {"Common 1:'a' 1:'a'", "Common 2:'' 2:' '", "Common 3:'b' 3:'b'"}},
          {"a blank line inserted in the middle",
           "a\nb\n",
           "a\n\nb\n",
           {"Common 1:'a' 1:'a'", "Common -:- 2:''", "Common 2:'b' 3:'b'"}},
          {"a blank line deleted in the middle",
           "a\n\t\nb\n",
           "a\nb\n",
           {"Common 1:'a' 1:'a'", "Common 2:'\t' -:-", "Common 3:'b' 2:'b'"}},
          {"blank lines inserted at the top",
           "a\nb\n",
           "\n \na\nb\n",
           {"Common -:- 1:''", "Common -:- 2:' '", "Common 1:'a' 3:'a'",
            "Common 2:'b' 4:'b'"}},
          {"blank lines inserted at the end",
           "a\n",
           "a\n\n\t\n",
           {"Common 1:'a' 1:'a'", "Common -:- 2:''", "Common -:- 3:'\t'"}},
          {"a blank change of two lines against one",
           "a\n\n  \nb\n",
           "a\n\t\nb\n",
           {"Common 1:'a' 1:'a'", "Common 2:'' 2:'\t'", "Common 3:'  ' -:-",
            "Common 4:'b' 3:'b'"}},
          {"matched lines keep their partners around a kept edit",
           "a\nb\nc\n",
           "\na\nx\nc\n",
           {"Common -:- 1:''", "Common 1:'a' 2:'a'", "Changed 2:'b' 3:'x'",
            "Common 3:'c' 4:'c'"}},
          {"an edit with a non-blank line stays",
           "a\n\nz\nb\n",
           "a\nb\n",
           {"Common 1:'a' 1:'a'", "LeftOnly 2:'' -:-", "LeftOnly 3:'z' -:-",
            "Common 4:'b' 2:'b'"}},
          {"only blank lines on the right",
           "",
           "\n \n",
           {"Common -:- 1:''", "Common -:- 2:' '"}},
      },
      SdiffOptions{.ignore_blank_lines = true});
}

TEST(GenerateSdiffLines, ReportsTheFirstFileThatCannotBeRead) {
  TempDir dir;
  const std::string good = dir.write("good", "a\n");
  const std::string bad = dir.write("bad", "a\xff\n");
  const std::string missing = dir.file("missing");
  struct ErrorCase {
    const char* name;
    std::string left;
    std::string right;
    std::string message;
  };
  const ErrorCase cases[] = {
      {"the left file fails first", bad, missing,
       bad + ": invalid UTF-8 content"},
      {"then the right file", good, bad, bad + ": invalid UTF-8 content"},
      {"a missing right file", good, missing,
       missing + ": No such file or directory"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto rows = generate_sdiff_lines(c.left, c.right, SdiffOptions{});
    ASSERT_FALSE(rows.ok());
    EXPECT_EQ(c.message, message_text(rows.error()));
  }
}

}  // namespace
