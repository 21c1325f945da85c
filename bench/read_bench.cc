// Time of reading one large input file into CompareLine records, with and
// without normalisation, next to a bare read-and-split of the same file.
//
// The file (1,000,000 lines, about 60 MB, mostly ASCII with some accented
// and CJK text) is generated once per run in a fresh temporary directory and
// removed at exit; after the first pass it sits in the page cache, so the
// figures are of the processor's work, not of the disk.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "io_utils/read_lines.h"
#include "support/temp_folder.h"

namespace {

constexpr int kLineCount = 1000000;

std::string make_content() {
  static const char* const words[] = {
      "alpha",
      "Beta",
      "GAMMA",
      "delta",
      "epsilon",
      "Zeta",
      "eta",
      "theta",
      "iota",
      "kappa",
      "LAMBDA",
      "mu",
      "nu",
      "xi",
      "caf\xc3\xa9",
      "na\xc3\xafve",
      "\xe4\xb8\xad\xe6\x96\x87",
      "stra\xc3\x9f"
      "e",
      "omicron",
      "Pi",
      "rho",
      "sigma",
      "tau",
  };
  std::mt19937 random(42);
  std::uniform_int_distribution<std::size_t> word(0, std::size(words) - 1);
  std::uniform_int_distribution<int> gap(0, 9);
  std::string content;
  content.reserve(62u * kLineCount);
  for (int i = 0; i < kLineCount; ++i) {
    std::size_t start = content.size();
    if (gap(random) == 0)
      content += "\t";
    while (content.size() - start < 56) {
      content += words[word(random)];
      int g = gap(random);
      content += g == 0 ? "  " : g == 1 ? "\t" : " ";
    }
    content += "\n";
  }
  return content;
}

// The generated file, removed with its directory when the run ends.
struct InputFile {
  std::string dir;
  std::string path;
  std::size_t size = 0;

  InputFile() {
    dir = bench::make_temp_folder("vrelsdiff-bench");
    path = dir + "/input.txt";
    std::string content = make_content();
    size = content.size();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr ||
        std::fwrite(content.data(), 1, content.size(), out) != content.size() ||
        std::fclose(out) != 0) {
      std::perror(path.c_str());
      std::exit(1);
    }
  }
  ~InputFile() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

const InputFile& input_file() {
  static const InputFile file;
  return file;
}

void set_counters(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(input_file().size));
}

// The least any reader must do: one read of the whole file and one string
// per line, with no checking at all.
void BM_BareReadAndSplit(benchmark::State& state) {
  const std::string& path = input_file().path;
  for (auto _ : state) {
    int fd = ::open(path.c_str(), O_RDONLY);
    struct stat status;
    ::fstat(fd, &status);
    std::string content(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
      ssize_t n = ::read(fd, content.data() + done, content.size() - done);
      if (n <= 0)
        break;
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
      const char* end = static_cast<const char*>(
          std::memchr(content.data() + start, '\n', content.size() - start));
      std::size_t stop = end == nullptr
                             ? content.size()
                             : static_cast<std::size_t>(end - content.data());
      lines.emplace_back(content, start, stop - start);
      start = stop + 1;
    }
    benchmark::DoNotOptimize(lines.data());
  }
  set_counters(state);
}

void BM_ReadFileLines(benchmark::State& state) {
  const std::string& path = input_file().path;
  for (auto _ : state) {
    auto lines = io_utils::read_file_lines(path);
    if (!lines.ok())
      state.SkipWithError("read failed");
    benchmark::DoNotOptimize(lines);
  }
  set_counters(state);
}

void read_and_normalize_with(benchmark::State& state,
                             const io_utils::CompareOptions& options) {
  const std::string& path = input_file().path;
  for (auto _ : state) {
    auto records = io_utils::read_and_normalize(path, options);
    if (!records.ok())
      state.SkipWithError("read failed");
    benchmark::DoNotOptimize(records);
  }
  set_counters(state);
}

void BM_ReadAndNormalize_NoFlags(benchmark::State& state) {
  read_and_normalize_with(state, io_utils::CompareOptions{});
}

void BM_ReadAndNormalize_IgnoreCaseAndSpaceChange(benchmark::State& state) {
  io_utils::CompareOptions options;
  options.ignore_case = true;
  options.ignore_space_change = true;
  read_and_normalize_with(state, options);
}

BENCHMARK(BM_BareReadAndSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndNormalize_NoFlags)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndNormalize_IgnoreCaseAndSpaceChange)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
