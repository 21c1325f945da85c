// Fuzz target: parsing an answer at the merge prompt. Any bytes parse, and
// a keyword means the same with white space around it, in upper case and
// with its line end.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sdiff/merge_commands.h"

namespace {

constexpr std::size_t kMaxInput = 1024;

using sdiff::InteractiveCommand;
using sdiff::InteractiveCommandKind;

void require(bool condition) {
  if (!condition)
    std::abort();
}

struct Keyword {
  std::string_view answer;
  InteractiveCommandKind kind;
};

constexpr Keyword kKeywords[] = {
    {"l", InteractiveCommandKind::Left},
    {"1", InteractiveCommandKind::Left},
    {"<", InteractiveCommandKind::Left},
    {"r", InteractiveCommandKind::Right},
    {"2", InteractiveCommandKind::Right},
    {">", InteractiveCommandKind::Right},
    {"b", InteractiveCommandKind::Both},
    {"3", InteractiveCommandKind::Both},
    {"e", InteractiveCommandKind::Edit},
    {"el", InteractiveCommandKind::EditLeft},
    {"er", InteractiveCommandKind::EditRight},
    {"s", InteractiveCommandKind::Skip},
    {"", InteractiveCommandKind::Skip},
    {"q", InteractiveCommandKind::Quit},
    {"?", InteractiveCommandKind::Help},
    {"h", InteractiveCommandKind::Help},
    {"help", InteractiveCommandKind::Help},
    {"silent", InteractiveCommandKind::Silent},
};

// A few white-space characters of each encoded length.
constexpr std::string_view kWhitespace[] = {
    " ",
    "\t",
    "\n",
    "\r",
    "\v",
    "\f",
    "\xC2\x85",
    "\xC2\xA0",
    "\xE1\x9A\x80",
    "\xE2\x80\x83",
    "\xE2\x80\xA8",
    "\xE3\x80\x80",
};

std::string take_whitespace(FuzzedDataProvider& provider) {
  std::string out;
  const auto count = provider.ConsumeIntegralInRange<int>(0, 4);
  for (int i = 0; i < count; ++i) {
    out += kWhitespace[provider.ConsumeIntegralInRange<std::size_t>(
        0, std::size(kWhitespace) - 1)];
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size > kMaxInput)
    return 0;
  FuzzedDataProvider provider(data, size);
  const Keyword& keyword =
      kKeywords[provider.ConsumeIntegralInRange<std::size_t>(
          0, std::size(kKeywords) - 1)];
  std::string answer = take_whitespace(provider);
  for (char c : keyword.answer) {
    answer +=
        provider.ConsumeBool()
            ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
            : c;
  }
  answer += take_whitespace(provider);
  if (provider.ConsumeBool())
    answer += provider.ConsumeBool() ? "\r\n" : "\n";
  require(InteractiveCommand::parse(keyword.answer).kind == keyword.kind);
  require(InteractiveCommand::parse(answer).kind == keyword.kind);

  // Whatever is left is an answer of its own: a line end or a leading space
  // does not change what it means.
  const std::string rest = provider.ConsumeRemainingBytesAsString();
  const InteractiveCommand command = InteractiveCommand::parse(rest);
  require(InteractiveCommand::parse(rest + "\n") == command);
  require(InteractiveCommand::parse(" " + rest) == command);
  return 0;
}
