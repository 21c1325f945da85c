// Fuzz target: parsing an answer at the merge prompt. A short word over the
// letters, digits and signs the answers are made of means what the reference
// below says, bare and with white space around it, in any case and with its
// line end; near misses such as "sil" or "e1" mean nothing. Any bytes parse.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

#include "sdiff/merge_commands.h"

namespace {

constexpr std::size_t kMaxInput = 1024;
// One more than the longest answer, so that longer words are tried too.
constexpr std::size_t kMaxWord = 7;

using sdiff::InteractiveCommand;
using Kind = sdiff::InteractiveCommandKind;

void require(bool condition) {
  if (!condition)
    std::abort();
}

// What a word means, one choice per line, written apart from the library's
// own table.
Kind reference_meaning(std::string_view word) {
  const auto is = [word](std::initializer_list<std::string_view> answers) {
    for (std::string_view answer : answers) {
      if (word == answer)
        return true;
    }
    return false;
  };
  if (is({"l", "1", "<"}))
    return Kind::Left;
  if (is({"r", "2", ">"}))
    return Kind::Right;
  if (is({"b", "3"}))
    return Kind::Both;
  if (is({"e"}))
    return Kind::Edit;
  if (is({"el"}))
    return Kind::EditLeft;
  if (is({"er"}))
    return Kind::EditRight;
  if (is({"s", ""}))  // Enter alone skips
    return Kind::Skip;
  if (is({"q"}))
    return Kind::Quit;
  if (is({"?", "h", "help"}))
    return Kind::Help;
  if (is({"silent"}))
    return Kind::Silent;
  return Kind::Unrecognized;
}

// Every character of every answer, and a few that are in none.
constexpr std::string_view kAlphabet = "lrbesqhpint123<>?0x";

// A byte of the alphabet stands for itself, so that saved inputs can spell
// their words; any other byte picks one.
char alphabet_character(char byte) {
  if (kAlphabet.find(byte) != kAlphabet.npos)
    return byte;
  return kAlphabet[static_cast<unsigned char>(byte) % kAlphabet.size()];
}

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
  std::string word = provider.ConsumeBytesAsString(
      provider.ConsumeIntegralInRange<std::size_t>(0, kMaxWord));
  for (char& c : word) c = alphabet_character(c);
  const Kind expected = reference_meaning(word);

  std::string answer = take_whitespace(provider);
  for (char c : word) {
    answer +=
        provider.ConsumeBool()
            ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
            : c;
  }
  answer += take_whitespace(provider);
  if (provider.ConsumeBool())
    answer += provider.ConsumeBool() ? "\r\n" : "\n";
  require(InteractiveCommand::parse(word).kind == expected);
  require(InteractiveCommand::parse(answer).kind == expected);

  // Whatever is left is an answer of its own: a line end or a leading space
  // does not change what it means.
  const std::string rest = provider.ConsumeRemainingBytesAsString();
  const InteractiveCommand command = InteractiveCommand::parse(rest);
  require(InteractiveCommand::parse(rest + "\n") == command);
  require(InteractiveCommand::parse(" " + rest) == command);
  return 0;
}
