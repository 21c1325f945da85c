// The language choice from LC_ALL, LC_MESSAGES and LANG.
#include "i18n/locale.h"

#include <stdlib.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace i18n {
namespace {

// Sets the three variables for one case and puts the old values back.
class LocaleVariables {
 public:
  LocaleVariables(std::optional<std::string> lc_all,
                  std::optional<std::string> lc_messages,
                  std::optional<std::string> lang) {
    for (int i = 0; i < 3; ++i) {
      const char* old = getenv(kNames[i]);
      saved_[i] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    set({lc_all, lc_messages, lang});
  }
  ~LocaleVariables() { set(saved_); }

 private:
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};

  static void set(const std::optional<std::string> (&values)[3]) {
    for (int i = 0; i < 3; ++i) {
      if (values[i]) {
        setenv(kNames[i], values[i]->c_str(), 1);
      } else {
        unsetenv(kNames[i]);
      }
    }
  }

  std::optional<std::string> saved_[3];
};

TEST(DetectLocale, FirstPresentUtf8VariableDecides) {
  const std::nullopt_t absent = std::nullopt;
  struct Case {
    const char* name;
    std::optional<std::string> lc_all, lc_messages, lang;
    bool chinese;
  };
  const Case cases[] = {
      {"none present", absent, absent, absent, false},
      {"LANG Chinese", absent, absent, "zh_CN.UTF-8", true},
      {"empty LC_ALL is taken", "", absent, "zh_CN.UTF-8", false},
      {"LC_MESSAGES before LANG", absent, "zh_CN.UTF-8", "en_US.UTF-8", true},
      {"LC_ALL before LC_MESSAGES", "en_US.UTF-8", "zh_CN.UTF-8", absent,
       false},
      {"LC_ALL not UTF-8 is passed over", "zh_CN\xff", absent, "zh_CN.UTF-8",
       true},
      {"LC_ALL not UTF-8 alone", "\xc3\x28", absent, absent, false},
      {"upper case", absent, absent, "ZH_CN", true},
      {"dash and mixed case", absent, absent, "ZH-cn.utf8", true},
      {"other character set", absent, absent, "zh_CN.GB18030", true},
      {"exactly five bytes", absent, absent, "zh_cn", true},
      {"four bytes", absent, absent, "zh_c", false},
      {"Taiwan", absent, absent, "zh_TW.UTF-8", false},
      {"Hong Kong", absent, absent, "zh_HK", false},
      {"Singapore", absent, absent, "zh_SG", false},
      {"language alone", absent, absent, "zh", false},
      {"leading blank", absent, absent, " zh_CN", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LocaleVariables variables(c.lc_all, c.lc_messages, c.lang);
    EXPECT_EQ(c.chinese, detect_locale());
  }
}

}  // namespace
}  // namespace i18n
