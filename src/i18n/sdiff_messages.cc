#include "i18n/sdiff_messages.h"

namespace i18n::sdiff_messages {

std::string try_help() { return ""; }  // TODO

std::vector<std::pair<std::string_view, std::string_view>>
help_whitespace_options() {
  return {};  // TODO
}

}  // namespace i18n::sdiff_messages
