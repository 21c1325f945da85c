// A fresh temporary directory per test, removed with everything in it.
#ifndef VRELSDIFF_TESTS_SUPPORT_TEMP_DIR_H_
#define VRELSDIFF_TESTS_SUPPORT_TEMP_DIR_H_

#include <string>
#include <string_view>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // The path of `name` inside the directory.
  std::string file(std::string_view name) const;
  // Writes `content` byte for byte to `name` and returns its path.
  std::string write(std::string_view name, std::string_view content) const;
  // The whole content of `name`; fails the test when it cannot be read.
  std::string read(std::string_view name) const;
  bool exists(std::string_view name) const;

 private:
  std::string path_;
};

// The whole content of a file; fails the test when it cannot be read.
std::string read_file(const std::string& path);

}  // namespace testing_support

#endif  // VRELSDIFF_TESTS_SUPPORT_TEMP_DIR_H_
