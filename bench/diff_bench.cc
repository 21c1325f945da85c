// Time and peak heap of compute_diff on generated pairs of line lists.
//
// Peak heap: this binary replaces the global operator new and delete with
// versions that keep the live heap bytes (as malloc_usable_size counts them)
// and their high-water mark. A run resets the mark to the live bytes before
// compute_diff, so the "peak_MB" counter is the most the call held at once
// beyond the line lists (10^6 bytes), its result included.
#include <malloc.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <new>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "diff/compute_diff.h"
#include "diff/myers_common_pairs.h"
#include "support/many_changes.h"

namespace {

std::size_t live_bytes = 0;
std::size_t peak_bytes = 0;

void* counted_alloc(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr)
    throw std::bad_alloc();
  live_bytes += malloc_usable_size(p);
  if (live_bytes > peak_bytes)
    peak_bytes = live_bytes;
  return p;
}

void counted_free(void* p) {
  if (p == nullptr)
    return;
  live_bytes -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
  return counted_alloc(size);
}
void* operator new[](std::size_t size) {
  return counted_alloc(size);
}
void operator delete(void* p) noexcept {
  counted_free(p);
}
void operator delete[](void* p) noexcept {
  counted_free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  counted_free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  counted_free(p);
}

namespace {

using types::CompareLine;

// Line records view their texts: this keeps every generated text alive for
// the rest of the program.
std::string_view keep(std::string text) {
  static std::deque<std::string> kept;
  return kept.emplace_back(std::move(text));
}

std::vector<CompareLine> numbered(const std::string& stem, std::int64_t n) {
  std::vector<CompareLine> lines;
  lines.reserve(static_cast<std::size_t>(n));
  for (std::int64_t i = 0; i < n; ++i) {
    const std::string_view text =
        keep(stem + std::to_string(i) + " of the generated file");
    lines.push_back({.text = text,
                     .normalized = text,
                     .line_number = static_cast<std::uint64_t>(i) + 1});
  }
  return lines;
}

// With `also_search`, the search for the matched lines is also timed on
// its own ("search_ms"), outside the measured time: against a short file,
// copying the lines of a long one into the script costs more than the
// search.
void run_and_report(benchmark::State& state,
                    const std::vector<CompareLine>& left,
                    const std::vector<CompareLine>& right,
                    bool also_search = false) {
  std::size_t edits = 0;
  double peak_mb = 0;
  double search_ms = 0;
  for (auto _ : state) {
    peak_bytes = live_bytes;
    const std::size_t before = live_bytes;
    std::vector<types::Edit> script = diff::compute_diff(left, right, {});
    peak_mb = static_cast<double>(peak_bytes - before) / 1e6;
    edits = script.size();
    benchmark::DoNotOptimize(script);
    if (also_search) {
      state.PauseTiming();
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(diff::myers_common_pairs(left, right));
      search_ms = std::chrono::duration<double, std::milli>(
                      std::chrono::steady_clock::now() - start)
                      .count();
      state.ResumeTiming();
    }
  }
  state.counters["peak_MB"] = peak_mb;
  state.counters["edits"] = static_cast<double>(edits);
  if (also_search) {
    state.counters["search_ms"] = search_ms;
  }
}

// n lines on each side; the right side has `changes` lines, at distinct
// seeded positions, replaced by lines found nowhere else.
void BM_ScatteredChanges(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  const std::int64_t changes = state.range(1);
  const std::vector<CompareLine> left = numbered("line ", n);
  std::vector<CompareLine> right = left;
  std::mt19937_64 rng(42);
  std::uniform_int_distribution<std::int64_t> position(0, n - 1);
  std::set<std::int64_t> chosen;
  while (static_cast<std::int64_t>(chosen.size()) < changes) {
    chosen.insert(position(rng));
  }
  for (std::int64_t i : chosen) {
    CompareLine& line = right[static_cast<std::size_t>(i)];
    line.text = keep("changed line " + std::to_string(i));
    line.normalized = line.text;
  }
  run_and_report(state, left, right);
}

// n lines on each side, none of them shared.
void BM_NothingInCommon(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  run_and_report(state, numbered("left line ", n), numbered("right line ", n));
}

// As above, but one line in the middle is on both sides, so that the search
// has to run to the end.
void BM_OneLineInCommon(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  std::vector<CompareLine> left = numbered("left line ", n);
  std::vector<CompareLine> right = numbered("right line ", n);
  right[static_cast<std::size_t>(n / 2)] =
      left[static_cast<std::size_t>(n / 2)];
  run_and_report(state, left, right);
}

// n lines against 10, of which the first `shared` are lines of the long
// file spread evenly over it and the others are found nowhere else.
void BM_LongAgainstShort(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  const std::int64_t shared = state.range(1);
  const std::vector<CompareLine> left = numbered("line ", n);
  std::vector<CompareLine> right = numbered("other line ", 10);
  for (std::int64_t i = 0; i < shared; ++i) {
    right[static_cast<std::size_t>(i)] =
        left[static_cast<std::size_t>(n / shared * i + n / shared / 2)];
  }
  run_and_report(state, left, right, true);
}

// n empty lines against m empty lines.
void BM_BlankAgainstBlank(benchmark::State& state) {
  const auto blank = [](std::int64_t count) {
    return std::vector<CompareLine>(static_cast<std::size_t>(count));
  };
  run_and_report(state, blank(state.range(0)), blank(state.range(1)), true);
}

// Records of the generated texts.
std::vector<CompareLine> records(const std::vector<std::string>& texts) {
  std::vector<CompareLine> lines;
  lines.reserve(texts.size());
  for (const std::string& text : texts) {
    const std::string_view kept = keep(text);
    lines.push_back(
        {.text = kept, .normalized = kept, .line_number = lines.size() + 1});
  }
  return lines;
}

// Pairs that differ in many places (see support/many_changes.h): the lines
// without a partner leave the search, and bit-parallel rows take over where
// the search would run long.
void many_changes(benchmark::State& state, const bench::LinePair& pair) {
  run_and_report(state, records(pair.left), records(pair.right));
}

void BM_CsvHalfReplaced(benchmark::State& state) {
  many_changes(state, bench::csv_half_replaced(
                          static_cast<std::size_t>(state.range(0))));
}
void BM_UnrelatedSharingOneLine(benchmark::State& state) {
  many_changes(state, bench::unrelated_sharing_one_line(
                          static_cast<std::size_t>(state.range(0))));
}
void BM_VocabularyLines(benchmark::State& state) {
  many_changes(
      state, bench::vocabulary_lines(static_cast<std::size_t>(state.range(0))));
}
void BM_RandomAbc(benchmark::State& state) {
  many_changes(state,
               bench::random_abc(static_cast<std::size_t>(state.range(0))));
}
void BM_DifferingTop(benchmark::State& state) {
  many_changes(state,
               bench::differing_top(static_cast<std::size_t>(state.range(0)),
                                    static_cast<std::size_t>(state.range(1))));
}
void BM_HalvesSwapped(benchmark::State& state) {
  many_changes(state,
               bench::halves_swapped(static_cast<std::size_t>(state.range(0))));
}
void BM_ReversedNumbers(benchmark::State& state) {
  many_changes(
      state, bench::reversed_numbers(static_cast<std::size_t>(state.range(0))));
}

// The floor: one comparison of each line pair of two 1,000,000-line lists
// that agree except at their ends, without any alignment.
void BM_FloorPairwise(benchmark::State& state) {
  const std::vector<CompareLine> left = numbered("line ", 1'000'000);
  std::vector<CompareLine> right = left;
  right.front().normalized = "changed";
  right.back().normalized = "changed";
  for (auto _ : state) {
    std::size_t equal = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
      equal += left[i].normalized == right[i].normalized ? 1u : 0u;
    }
    benchmark::DoNotOptimize(equal);
  }
}

void configure(benchmark::internal::Benchmark* bench) {
  bench->Unit(benchmark::kMillisecond)
      ->Iterations(1)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}

BENCHMARK(BM_FloorPairwise)->Apply(configure);
BENCHMARK(BM_ScatteredChanges)
    ->Args({1'000'000, 100})
    ->Args({1'000'000, 10'000})
    ->Apply(configure);
BENCHMARK(BM_NothingInCommon)->Arg(10'000)->Arg(50'000)->Apply(configure);
BENCHMARK(BM_OneLineInCommon)->Arg(10'000)->Arg(50'000)->Apply(configure);
BENCHMARK(BM_LongAgainstShort)
    ->Args({1'000'000, 10})
    ->Args({1'000'000, 5})
    ->Args({1'000'000, 0})
    ->Apply(configure);
BENCHMARK(BM_CsvHalfReplaced)->Arg(100'000)->Apply(configure);
BENCHMARK(BM_UnrelatedSharingOneLine)->Arg(100'000)->Apply(configure);
BENCHMARK(BM_VocabularyLines)->Arg(100'000)->Apply(configure);
BENCHMARK(BM_RandomAbc)->Arg(100'000)->Apply(configure);
BENCHMARK(BM_DifferingTop)->Args({40'000, 900'000})->Apply(configure);
BENCHMARK(BM_HalvesSwapped)->Arg(100'000)->Apply(configure);
BENCHMARK(BM_ReversedNumbers)->Arg(50'000)->Arg(200'000)->Apply(configure);
BENCHMARK(BM_BlankAgainstBlank)
    ->Args({160'000, 50})
    ->Args({1'000'000, 1})
    ->Apply(configure);

}  // namespace

BENCHMARK_MAIN();
