// The tool's bilingual texts that other modules print.
#ifndef VRELSDIFF_I18N_SDIFF_MESSAGES_H_
#define VRELSDIFF_I18N_SDIFF_MESSAGES_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace i18n::sdiff_messages {

// The try-help line in the chosen language, without a line end.
std::string try_help();

// The six (label, description) lines of the help's white-space section.
std::vector<std::pair<std::string_view, std::string_view>>
help_whitespace_options();

}  // namespace i18n::sdiff_messages

#endif  // VRELSDIFF_I18N_SDIFF_MESSAGES_H_
