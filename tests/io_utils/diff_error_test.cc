// The message texts of DiffError and the text of an I/O error.
#include "io_utils/diff_error.h"

#include <errno.h>

#include <gtest/gtest.h>

namespace io_utils {
namespace {

TEST(MessageText, PutsTheFixedWordsAfterThePayload) {
  struct Case {
    DiffError error;
    const char* expected;
  } cases[] = {
      {DiffError::not_found("a b:c"), "a b:c: No such file or directory"},
      {DiffError::not_found(""), ": No such file or directory"},
      {DiffError::permission_denied("/x"), "/x: Permission denied"},
      {DiffError::is_directory("dir/"), "dir/: Is a directory"},
      {DiffError::message("as it stands"), "as it stands"},
      {DiffError::invalid_utf8("f\xc3\xa9"),
       "f\xc3\xa9: invalid UTF-8 content"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, message_text(c.error));
  }
}

TEST(OsErrorText, NamesTheErrorAndItsNumber) {
  EXPECT_EQ("Permission denied (os error 13)", os_error_text(EACCES));
  EXPECT_EQ("No such file or directory (os error 2)", os_error_text(ENOENT));
  EXPECT_EQ("Broken pipe (os error 32)", os_error_text(EPIPE));
}

}  // namespace
}  // namespace io_utils
