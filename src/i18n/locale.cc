#include "i18n/locale.h"

namespace i18n {

bool detect_locale() { return false; }  // TODO

}  // namespace i18n
