#include "support/temp_dir.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace testing_support {

TempDir::TempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "vrelsdiff-test-XXXXXX")
          .string();
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "mkdtemp failed for " << pattern;
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests may leave read-only folders behind; make them removable first.
  // A folder is made searchable before the walk steps into it; a step that
  // still fails ends the walk instead of throwing from a destructor.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator();
       it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      ::chmod(it->path().c_str(), 0700);
    }
  }
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(std::string_view name) const {
  return path_ + "/" + std::string(name);
}

std::string TempDir::write(std::string_view name,
                           std::string_view content) const {
  std::string target = file(name);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out)
    ADD_FAILURE() << "cannot write " << target;
  return target;
}

std::string TempDir::read(std::string_view name) const {
  return read_file(file(name));
}

bool TempDir::exists(std::string_view name) const {
  std::error_code ignored;
  return std::filesystem::exists(
      std::filesystem::symlink_status(file(name), ignored));
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ADD_FAILURE() << "cannot read " << path;
    return {};
  }
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace testing_support
