// The message language, chosen from LC_ALL, LC_MESSAGES and LANG.
#ifndef VRELSDIFF_I18N_LOCALE_H_
#define VRELSDIFF_I18N_LOCALE_H_

namespace i18n {

// True selects Simplified Chinese, false English. Decided afresh each call.
bool detect_locale();

}  // namespace i18n

#endif  // VRELSDIFF_I18N_LOCALE_H_
