// Reading an input file whole into one buffer, checking that it is UTF-8
// and splitting it into lines that are views of that buffer.
#include "io_utils/read_lines.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "io_utils/ascii.h"
#include "io_utils/fd_io.h"
#include "io_utils/fixed_block.h"
#include "io_utils/normalize.h"
#include "io_utils/utf8.h"

namespace io_utils {
namespace {

// The first block of comparison forms; each later one is at least twice
// the last.
constexpr std::size_t kFirstFormBlock = std::size_t{64} << 10;

// At most this much is read at once, so that a malformed line near the
// start of a large file is reported without reading far past it.
constexpr std::size_t kReadLimit = std::size_t{8} << 20;

// The file's bytes, checked to be UTF-8 as they come in: after each read,
// the lines that are whole by then. Since "\n" is a byte of its own in
// UTF-8, a stretch of whole lines is well-formed exactly when every line in
// it is, and the first malformed line ends the reading.
Result<ByteBuffer> read_checked_file(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0)
    return DiffError::not_found(path);
  if (S_ISDIR(status.st_mode))
    return DiffError::is_directory(path);

  OpenedFile file = open_file(path, O_RDONLY | O_NOCTTY);
  if (!file.fd.is_open()) {
    if (file.error == EACCES || file.error == EPERM)
      return DiffError::permission_denied(path);
    return DiffError::message(path + ": " + os_error_text(file.error));
  }

  // Sized from the opened file's status when it is a regular file, grown
  // as it comes for a pipe. A size that cannot be had fails here as
  // exhausted memory, before any reading. The room past the file's bytes
  // lets the read that finds the end land in room already there, and is
  // the slack that the line normalisation reads past the last line, so
  // that it need not copy the whole file to make room.
  ByteBuffer bytes;
  if (struct stat opened; ::fstat(file.fd.get(), &opened) == 0 &&
                          S_ISREG(opened.st_mode) && opened.st_size > 0) {
    bytes.reserve(static_cast<std::size_t>(opened.st_size) + kAsciiLineSlack);
  }
  std::size_t checked = 0;  // the lines before it are well-formed
  for (;;) {
    const ReadResult read = read_some(file.fd.get(), bytes, kReadLimit);
    if (read.error != 0)
      return DiffError::message(path + ": " + os_error_text(read.error));
    // The lines that are whole now end at the last "\n" of this read; at
    // the end of input the last line is whole too.
    std::size_t whole_end = bytes.size();
    if (read.count > 0) {
      const std::size_t fresh = bytes.size() - read.count;
      const std::size_t line_end = bytes.view().substr(fresh).rfind('\n');
      if (line_end == std::string_view::npos)
        continue;
      whole_end = fresh + line_end + 1;
    }
    if (!is_valid_utf8(bytes.view().substr(checked, whole_end - checked)))
      return DiffError::invalid_utf8(path);
    checked = whole_end;
    if (read.count == 0)
      return bytes;
  }
}

// The "\n" bytes, eight at a time. A byte of `other` is zero exactly when
// it was "\n"; adding 0x7F to its low seven bits sets its high bit unless
// they are all zero, with no carry into the next byte, and or-ing in the
// byte itself covers a set high bit.
std::size_t count_line_ends(std::string_view bytes) {
  constexpr std::uint64_t kLowBits = 0x7F7F7F7F7F7F7F7FULL;
  std::size_t count = 0;
  std::size_t pos = 0;
  for (; pos + 8 <= bytes.size(); pos += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + pos, sizeof word);
    const std::uint64_t other = word ^ 0x0A0A0A0A0A0A0A0AULL;
    const std::uint64_t nonzero = ((other & kLowBits) + kLowBits) | other;
    count += static_cast<std::size_t>(count_high_bits(~nonzero & kHighBits));
  }
  for (; pos < bytes.size(); ++pos) count += bytes[pos] == '\n' ? 1u : 0u;
  return count;
}

std::size_t line_count(std::string_view bytes) {
  return count_line_ends(bytes) +
         (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
}

// Calls `take` with each line of `bytes` in order: the line without its
// "\n" and one "\r" before that "\n"; a last line without "\n" is whole.
template <typename Take>
void for_each_line(std::string_view bytes, Take&& take) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) {
      take(bytes);
      return;
    }
    std::string_view line = bytes.substr(0, end);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    take(line);
    bytes.remove_prefix(end + 1);
  }
}

bool changes_lines(const CompareOptions& options) {
  return options.ignore_case || options.ignore_space_change ||
         options.ignore_all_space || options.ignore_trailing_space ||
         options.ignore_tab_expansion;
}

// Comparison forms are kept in blocks of fixed room, so that a view of a
// form stays valid while more are added. A new last block with room for
// `size` bytes, at least twice as large as the one before.
FixedBlock& add_form_block(std::vector<FixedBlock>& blocks, std::size_t size) {
  const std::size_t last = blocks.empty() ? 0 : blocks.back().capacity();
  return blocks.emplace_back(std::max({size, 2 * last, kFirstFormBlock}));
}

// The last block, with room for `size` more bytes.
inline FixedBlock& block_with_room(std::vector<FixedBlock>& blocks,
                                   std::size_t size) {
  if (!blocks.empty() && blocks.back().spare_size() >= size)
    return blocks.back();
  return add_form_block(blocks, size);
}

// The line's comparison form: the text itself when the options leave it
// as it is, else a form of its own in `blocks`. Most lines are ASCII and
// are normalised straight into a block.
std::string_view comparison_form(std::vector<FixedBlock>& blocks,
                                 std::string_view text,
                                 const CompareOptions& options) {
  FixedBlock& block = block_with_room(blocks, text.size() + kAsciiLineSlack);
  if (const auto length = normalize_ascii_line(text, options, block.spare())) {
    const std::string_view form(block.spare(), *length);
    if (form == text)
      return text;
    return block.commit(*length);
  }
  const std::string form = normalize_line(text, options);
  if (form == text)
    return text;
  // A block with room for the form always takes it.
  return *block_with_room(blocks, form.size()).append(form);
}

}  // namespace

Result<FileLines> read_file_lines(const std::string& path) {
  Result<ByteBuffer> bytes = read_checked_file(path);
  if (!bytes.ok())
    return std::move(bytes.error());
  FileLines file;
  file.bytes_ = std::move(bytes.value());
  file.lines_.reserve(line_count(file.bytes_.view()));
  for_each_line(file.bytes_.view(),
                [&](std::string_view line) { file.lines_.push_back(line); });
  return file;
}

Result<CompareLines> read_and_normalize(const std::string& path,
                                        const CompareOptions& options) {
  Result<ByteBuffer> bytes = read_checked_file(path);
  if (!bytes.ok())
    return std::move(bytes.error());
  CompareLines file;
  file.bytes_ = std::move(bytes.value());
  const bool normalizing = changes_lines(options);
  if (normalizing) {
    // Lines are normalised a block of bytes at a time, which reads a little
    // past the end of the last one. A regular file has that room already;
    // a pipe's bytes may need it.
    file.bytes_.reserve(file.bytes_.size() + kAsciiLineSlack);
    std::memset(file.bytes_.spare(), 0, kAsciiLineSlack);
  }
  file.lines_.reserve(line_count(file.bytes_.view()));
  std::uint64_t line_number = 1;
  for_each_line(file.bytes_.view(), [&](std::string_view text) {
    if (options.strip_trailing_cr && text.ends_with('\r'))
      text.remove_suffix(1);
    const std::string_view form =
        normalizing ? comparison_form(file.forms_, text, options) : text;
    file.lines_.push_back(
        {.text = text, .normalized = form, .line_number = line_number++});
  });
  return file;
}

}  // namespace io_utils
