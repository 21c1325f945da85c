#include "support/temp_folder.h"

#include <stdlib.h>

#include <cstdio>

namespace bench {

std::string make_temp_folder(const std::string& stem) {
  const char* tmp = getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + stem +
      "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  return pattern;
}

}  // namespace bench
