// Fuzz target: UTF-8 checking, decoding and reading a file into lines, over
// raw bytes.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "io_utils/diff_error.h"
#include "io_utils/read_lines.h"
#include "io_utils/utf8.h"

namespace {

constexpr std::size_t kMaxInput = 4096;

void require(bool condition) {
  if (!condition)
    std::abort();
}

// Decodes each sequence by its lead byte and then rejects what the encoding
// forbids: a missing continuation, an overlong form, a surrogate, anything
// above U+10FFFF.
bool reference_valid_utf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length;
    std::uint32_t value;
    std::uint32_t smallest;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      value = lead & 0x1Fu;
      smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      value = lead & 0x0Fu;
      smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      value = lead & 0x07u;
      smallest = 0x10000;
    } else {
      return false;
    }
    if (bytes.size() - i < length)
      return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80)
        return false;
      value = (value << 6) | (next & 0x3Fu);
    }
    if (value < smallest || value > 0x10FFFF ||
        (value >= 0xD800 && value <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

// One file in a fresh directory, reused by every input of the process and
// removed at exit.
struct ScratchFile {
  std::string dir;
  std::string path;

  ScratchFile() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp && *tmp ? tmp : "/tmp") + "/vrelsdiff-fuzz-XXXXXX";
    require(::mkdtemp(pattern.data()) != nullptr);
    dir = pattern;
    path = dir + "/input";
  }
  ~ScratchFile() {
    ::unlink(path.c_str());
    ::rmdir(dir.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
};

void write_file(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  require(file != nullptr);
  require(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
  require(std::fclose(file) == 0);
}

// The content as the lines should give it back: no "\r" right before a
// "\n", and no final "\n".
std::string expected_joined(std::string_view bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
      continue;
    out.push_back(bytes[i]);
  }
  if (!out.empty() && out.back() == '\n')
    out.pop_back();
  return out;
}

std::size_t expected_line_count(std::string_view bytes) {
  std::size_t count = 0;
  for (char byte : bytes) {
    count += byte == '\n' ? 1 : 0;
  }
  return count + (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
}

void check_decoding(std::string_view bytes, bool valid) {
  std::string encoded;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t before = pos;
    const char32_t c = io_utils::decode_utf8(bytes, pos);
    require(pos > before && pos <= bytes.size());
    if (valid)
      io_utils::append_utf8(encoded, c);
  }
  if (valid)
    require(encoded == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size > kMaxInput)
    return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bool valid = reference_valid_utf8(bytes);
  require(io_utils::is_valid_utf8(bytes) == valid);
  std::size_t ascii = 0;
  while (ascii < size && data[ascii] < 0x80) {
    ++ascii;
  }
  require(io_utils::ascii_prefix_length(bytes) == ascii);
  require(io_utils::is_ascii(bytes) == (ascii == size));
  check_decoding(bytes, valid);

  static ScratchFile scratch;
  write_file(scratch.path, bytes);
  auto lines = io_utils::read_file_lines(scratch.path);
  if (!valid) {
    require(!lines.ok());
    require(lines.error().kind == io_utils::DiffErrorKind::InvalidUtf8);
    require(lines.error().payload == scratch.path);
    return 0;
  }
  require(lines.ok());
  const auto read = lines.value().lines();
  require(read.size() == expected_line_count(bytes));
  std::string joined;
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (i > 0)
      joined += '\n';
    joined += read[i];
  }
  require(joined == expected_joined(bytes));
  return 0;
}
