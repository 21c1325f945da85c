// The descriptor layer: reading to the end whatever size was expected, and
// writes that leave what they could not write.
#include "io_utils/fd_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace io_utils {
namespace {

using testing_support::TempDir;

// The expected size comes from a file's status, which may be out of date
// by the time the file is read: it only sizes the buffer.
TEST(ReadToEnd, ReadsTheWholeInputWhateverSizeWasExpected) {
  TempDir dir;
  std::string content;
  for (int i = 0; content.size() < 300000; ++i) {
    content += "line " + std::to_string(i) + "\n";
  }
  const std::string path = dir.write("in", content);
  for (std::size_t expected :
       {std::size_t{0}, std::size_t{1}, content.size() - 1, content.size(),
        content.size() + 1, 10 * content.size()}) {
    SCOPED_TRACE(expected);
    OpenedFile file = open_file(path, O_RDONLY);
    ASSERT_TRUE(file.fd.is_open()) << file.error;
    ByteBuffer bytes;
    EXPECT_EQ(0, read_to_end(file.fd.get(), bytes, expected));
    EXPECT_TRUE(bytes.view() == content);
  }
}

TEST(OpenFile, GivesTheErrorOfAFailedOpen) {
  TempDir dir;
  OpenedFile file = open_file(dir.file("missing"), O_RDONLY);
  EXPECT_FALSE(file.fd.is_open());
  EXPECT_EQ(ENOENT, file.error);
}

// A full non-blocking pipe takes part of the data and then refuses more;
// what it did not take stays for the caller.
TEST(WriteOut, LeavesWhatCouldNotBeWritten) {
  int fds[2];
  ASSERT_EQ(0, ::pipe2(fds, O_NONBLOCK));
  FileDescriptor read_end(fds[0]);
  FileDescriptor write_end(fds[1]);
  const int capacity = ::fcntl(write_end.get(), F_GETPIPE_SZ);
  ASSERT_GT(capacity, 0);
  const std::string data(static_cast<std::size_t>(capacity) + 1000, 'd');
  std::string_view rest = data;
  Result<void> written = write_out(write_end.get(), rest);
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(os_error_text(EAGAIN), message_text(written.error()));
  EXPECT_EQ(1000u, rest.size());
  EXPECT_EQ(data.data() + capacity, rest.data());
}

}  // namespace
}  // namespace io_utils
