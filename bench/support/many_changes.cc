#include "support/many_changes.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>

namespace bench {
namespace {

// Distinct seeded positions below n.
std::set<std::size_t> positions(std::mt19937_64& random, std::size_t n,
                                std::size_t count) {
  std::uniform_int_distribution<std::size_t> position(0, n - 1);
  std::set<std::size_t> chosen;
  while (chosen.size() < std::min(count, n)) chosen.insert(position(random));
  return chosen;
}

std::string csv_record(std::mt19937_64& random, std::size_t id,
                       const char* const* names) {
  return std::to_string(id) + "," + names[random() % 4] + "," +
         std::to_string(random() % 1'000'000) + "," +
         std::to_string(random() % 1'000'000) + ".0" +
         std::to_string(random() % 100);
}

}  // namespace

LinePair csv_half_replaced(std::size_t rows) {
  static const char* const kOld[] = {"alice", "bob", "carol", "dave"};
  static const char* const kNew[] = {"erin", "frank", "grace", "heidi"};
  std::mt19937_64 random(1);
  LinePair pair;
  for (std::size_t i = 0; i < rows; ++i) {
    pair.left.push_back(csv_record(random, i, kOld));
  }
  pair.right = pair.left;
  for (std::size_t i : positions(random, rows, rows / 2)) {
    pair.right[i] = csv_record(random, rows + i, kNew);
  }
  return pair;
}

LinePair unrelated_sharing_one_line(std::size_t lines) {
  std::mt19937_64 random(2);
  LinePair pair;
  for (std::size_t i = 0; i < lines; ++i) {
    pair.left.push_back("left record " + std::to_string(i) + " " +
                        std::to_string(random() >> 24));
    pair.right.push_back("right record " + std::to_string(i) + " " +
                         std::to_string(random() >> 24));
  }
  pair.right[random() % lines] = pair.left[random() % lines];
  return pair;
}

LinePair vocabulary_lines(std::size_t lines) {
  std::mt19937_64 random(3);
  std::vector<std::string> vocabulary;
  for (int i = 0; i < 2000; ++i) {
    vocabulary.push_back("vocabulary line " + std::to_string(i) + " " +
                         std::to_string(random() >> 34));
  }
  LinePair pair;
  for (std::size_t i = 0; i < lines; ++i) {
    pair.left.push_back(vocabulary[random() % vocabulary.size()]);
  }
  pair.right = pair.left;
  for (std::size_t i : positions(random, lines, lines / 5)) {
    pair.right[i] = vocabulary[random() % vocabulary.size()];
  }
  return pair;
}

LinePair random_abc(std::size_t lines) {
  static const char* const kLetters[] = {"a", "b", "c"};
  std::mt19937_64 random(4);
  LinePair pair;
  for (std::size_t i = 0; i < lines; ++i) {
    pair.left.push_back(kLetters[random() % 3]);
    pair.right.push_back(kLetters[random() % 3]);
  }
  return pair;
}

LinePair reversed_numbers(std::size_t n) {
  LinePair pair;
  for (std::size_t i = 1; i <= n; ++i) {
    pair.left.push_back(std::to_string(i));
    pair.right.push_back(std::to_string(n + 1 - i));
  }
  return pair;
}

LinePair differing_top(std::size_t top, std::size_t rest) {
  static const char* const kLetters[] = {"p", "q"};
  std::mt19937_64 random(6);
  LinePair pair;
  for (std::size_t i = 0; i < top; ++i) {
    pair.left.push_back(kLetters[random() % 2]);
    pair.right.push_back(kLetters[random() % 2]);
  }
  for (std::size_t i = 0; i < rest; ++i) {
    pair.left.push_back("rest " + std::to_string(i));
    pair.right.push_back(pair.left.back());
  }
  return pair;
}

LinePair halves_swapped(std::size_t lines) {
  LinePair pair;
  for (std::size_t i = 0; i < lines; ++i) {
    pair.left.push_back("record " + std::to_string(i));
  }
  pair.right.assign(pair.left.begin() + static_cast<std::ptrdiff_t>(lines / 2),
                    pair.left.end());
  pair.right.insert(pair.right.end(), pair.left.begin(),
                    pair.left.begin() + static_cast<std::ptrdiff_t>(lines / 2));
  return pair;
}

LinePair scattered_edits(std::size_t lines, std::size_t edits) {
  static const char* const kWords[] = {"alpha", "beta",  "gamma",
                                       "delta", "value", "return"};
  std::mt19937_64 random(5);
  LinePair pair;
  for (std::size_t i = 0; i < lines; ++i) {
    std::string line = "L" + std::to_string(i) + ":";
    for (int w = 0; w < 8; ++w) {
      line += ' ';
      line += kWords[random() % std::size(kWords)];
    }
    pair.left.push_back(std::move(line));
  }
  const std::set<std::size_t> edited = positions(random, lines, edits);
  std::size_t turn = 0;
  for (std::size_t i = 0; i < lines; ++i) {
    if (!edited.contains(i)) {
      pair.right.push_back(pair.left[i]);
      continue;
    }
    switch (turn++ % 3) {
      case 0:
        pair.right.push_back(pair.left[i] + " edited");
        break;
      case 1:
        pair.right.push_back(pair.left[i]);
        pair.right.push_back("inserted " + std::to_string(i));
        break;
      default:
        break;
    }
  }
  return pair;
}

}  // namespace bench
