// The whole program on a pair of large files (full listing, -s, -i -b -s,
// and -s on two byte-identical files) beside a bare read, split, compare and
// write of the same files: the floor that any listing with one write per
// row pays.
//
// Run by hand from a build folder: bench/listing_bench. The program is
// taken from the build folder (../vrelsdiff next to bench/), or from the
// VRELSDIFF variable. Every benchmark reports wall time; the program's
// reports add its peak resident memory (max_rss_mb) from wait4.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

constexpr std::uint64_t kLines = 1'000'000;
constexpr std::uint64_t kEdits = 100;

struct Pair {
  std::string dir;
  std::string left;
  std::string right;
  std::string left_copy;    // the left file's bytes in a file of its own
  std::uint64_t bytes = 0;  // both files together
};

// About 60 bytes a line: a number that keeps the lines apart and words
// drawn from a small vocabulary, as in source text.
std::string make_line(std::uint64_t number, std::mt19937_64& random) {
  static const char* const kWords[] = {
      "alpha", "beta",  "gamma",  "delta", "value", "return", "const",
      "index", "count", "buffer", "state", "line",  "next",   "if"};
  std::string line = "L" + std::to_string(number) + ":";
  while (line.size() < 56) {
    line += ' ';
    line += kWords[random() % std::size(kWords)];
  }
  return line;
}

void write_whole(const std::string& path, const std::string& content) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr ||
      std::fwrite(content.data(), 1, content.size(), file) != content.size() ||
      std::fclose(file) != 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
}

// The right file differs from the left at 100 scattered places: a changed
// line, an inserted line or a deleted one, in turn.
Pair make_pair() {
  const std::string pattern = bench::make_temp_folder("listing-bench");
  Pair pair{.dir = pattern,
            .left = pattern + "/left.txt",
            .right = pattern + "/right.txt",
            .left_copy = pattern + "/left-copy.txt"};
  std::mt19937_64 random(20261210);
  std::string left;
  std::string right;
  left.reserve(kLines * 62);
  right.reserve(kLines * 62);
  const std::uint64_t spacing = kLines / kEdits;
  for (std::uint64_t i = 0; i < kLines; ++i) {
    const std::string line = make_line(i, random);
    left += line;
    left += '\n';
    if (i % spacing != spacing / 2) {
      right += line;
      right += '\n';
      continue;
    }
    switch ((i / spacing) % 3) {
      case 0:  // changed
        right += line + " edited\n";
        break;
      case 1:  // inserted after
        right += line + "\n" + make_line(kLines + i, random) + "\n";
        break;
      default:  // deleted
        break;
    }
  }
  write_whole(pair.left, left);
  write_whole(pair.right, right);
  write_whole(pair.left_copy, left);
  pair.bytes = left.size() + right.size();
  return pair;
}

const Pair& pair() {
  static const Pair generated = make_pair();
  return generated;
}

void program(benchmark::State& state, std::vector<std::string> options,
             bool identical = false) {
  options.push_back(pair().left);
  options.push_back(identical ? pair().left_copy : pair().right);
  double peak = 0;
  options.insert(options.begin(), bench::program_path());
  for (auto _ : state) {
    const bench::ProgramRun run = bench::run_to_null(options);
    if (!run.ok) {
      state.SkipWithError("the program failed");
      return;
    }
    peak = run.max_rss_bytes;
  }
  state.counters["max_rss_mb"] = peak / 1e6;
  state.counters["rss_per_input"] = peak / static_cast<double>(pair().bytes);
}

void BM_ProgramFullListing(benchmark::State& state) {
  program(state, {});
}
void BM_ProgramSuppressCommon(benchmark::State& state) {
  program(state, {"-s"});
}
// Every line of the pair starts with a capital letter, so under -i every
// line has a comparison form of its own.
void BM_ProgramIgnoreCaseAndSpace(benchmark::State& state) {
  program(state, {"-i", "-b", "-s"});
}
void BM_ProgramIdenticalFiles(benchmark::State& state) {
  program(state, {"-s"}, true);
}

std::string read_whole(const std::string& path) {
  std::string content;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat status {};
  if (fd < 0 || ::fstat(fd, &status) != 0)
    std::exit(1);
  content.resize(static_cast<std::size_t>(status.st_size));
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
    if (n <= 0)
      std::exit(1);
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return content;
}

std::vector<std::string_view> split(const std::string& content) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos)
      end = content.size();
    lines.emplace_back(content.data() + start, end - start);
    start = end + 1;
  }
  return lines;
}

// The floor: read both files, split them, compare the lines pairwise (no
// alignment at all) and, when asked, write one row per line pair.
void floor_run(benchmark::State& state, bool write_rows) {
  const int null_fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  for (auto _ : state) {
    const std::string left = read_whole(pair().left);
    const std::string right = read_whole(pair().right);
    const auto left_lines = split(left);
    const auto right_lines = split(right);
    const std::size_t n = std::min(left_lines.size(), right_lines.size());
    std::uint64_t equal = 0;
    std::string row;
    for (std::size_t i = 0; i < n; ++i) {
      const bool same = left_lines[i] == right_lines[i];
      equal += same ? 1 : 0;
      if (!write_rows)
        continue;
      row.assign(left_lines[i]);
      row += same ? "\t" : "\t|\t";
      row += right_lines[i];
      row += '\n';
      if (::write(null_fd, row.data(), row.size()) < 0)
        std::exit(1);
    }
    benchmark::DoNotOptimize(equal);
  }
  ::close(null_fd);
}

void BM_FloorCompare(benchmark::State& state) {
  floor_run(state, false);
}
void BM_FloorCompareWrite(benchmark::State& state) {
  floor_run(state, true);
}

void configure(benchmark::internal::Benchmark* bench) {
  bench->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(1)
      ->Repetitions(7)
      ->ReportAggregatesOnly(true);
}

BENCHMARK(BM_ProgramFullListing)->Apply(configure);
BENCHMARK(BM_ProgramSuppressCommon)->Apply(configure);
BENCHMARK(BM_ProgramIgnoreCaseAndSpace)->Apply(configure);
BENCHMARK(BM_ProgramIdenticalFiles)->Apply(configure);
BENCHMARK(BM_FloorCompare)->Apply(configure);
BENCHMARK(BM_FloorCompareWrite)->Apply(configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  std::fprintf(stderr, "input: %s, %llu bytes in both files\n",
               pair().dir.c_str(),
               static_cast<unsigned long long>(pair().bytes));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(pair().dir);
  return 0;
}
