// The message language, read from the locale variables on every call.
#include "i18n/locale.h"

#include <stdlib.h>

#include <string>
#include <string_view>

#include "io_utils/unicode.h"
#include "io_utils/utf8.h"

namespace i18n {
namespace {

// The first of the variables that is present with a UTF-8 value, else "".
// An empty value counts: it stops the search and selects English.
std::string_view locale_value() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = ::getenv(name);
    if (value != nullptr && io_utils::is_valid_utf8(value))
      return value;
  }
  return {};
}

}  // namespace

bool detect_locale() {
  const std::string lowered = io_utils::to_lowercase(locale_value());
  const std::string_view prefix = std::string_view(lowered).substr(0, 5);
  return prefix == "zh_cn" || prefix == "zh-cn";
}

}  // namespace i18n
