// The whole program with -s on pairs that differ in many places, beside a
// unified-diff peer timed in the same run: `git diff --no-index`, whose
// default run is heuristic and not always minimal, and its --minimal run,
// which is exact like this program. The pairs are those of
// support/many_changes.h, 100,000 lines a side unless named.
//
// Run by hand from a build folder: bench/many_changes_bench. The program is
// taken from the build folder, or from the VRELSDIFF variable; the peer is
// `git` from PATH, with no configuration of its own. Each run reports wall
// time and, as counters, its CPU time (cpu_s) and peak memory (max_rss_mb).
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "support/many_changes.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

struct PairFiles {
  std::string left;
  std::string right;
};

std::string work_folder() {
  static const std::string folder = bench::make_temp_folder("many-changes");
  return folder;
}

void write_lines(const std::string& path,
                 const std::vector<std::string>& lines) {
  FILE* file = std::fopen(path.c_str(), "wb");
  bool ok = file != nullptr;
  for (const std::string& line : lines) {
    ok = ok && std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
         std::fputc('\n', file) != EOF;
  }
  if (file == nullptr || std::fclose(file) != 0 || !ok) {
    std::perror(path.c_str());
    std::exit(1);
  }
}

PairFiles write_pair(const std::string& name, const bench::LinePair& pair) {
  const PairFiles files{work_folder() + "/" + name + ".left",
                        work_folder() + "/" + name + ".right"};
  write_lines(files.left, pair.left);
  write_lines(files.right, pair.right);
  return files;
}

void timed(benchmark::State& state, const std::vector<std::string>& argv,
           const std::vector<std::string>& environment) {
  bench::ProgramRun run;
  for (auto _ : state) {
    run = bench::run_to_null(argv, environment);
    if (!run.ok) {
      state.SkipWithError("the command failed or could not be started");
      return;
    }
  }
  state.counters["cpu_s"] = run.cpu_seconds;
  state.counters["max_rss_mb"] = run.max_rss_bytes / 1e6;
}

// Registers the program, the peer and, unless it would take minutes, the
// peer's exact run on one pair.
void register_pair(const std::string& name, const bench::LinePair& pair,
                   bool exact_peer) {
  const PairFiles files = write_pair(name, pair);
  // No configuration of the user's may choose the peer's algorithm.
  const std::vector<std::string> peer_environment = {
      "GIT_CONFIG_NOSYSTEM=1", "GIT_CONFIG_GLOBAL=/dev/null", "HOME=/"};
  const std::vector<std::string> program = {bench::program_path(), "-s",
                                            files.left, files.right};
  const std::vector<std::string> peer = {"git", "diff", "--no-index",
                                         files.left, files.right};
  std::vector<std::string> exact = peer;
  exact.insert(exact.begin() + 3, "--minimal");
  auto configure = [](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
  };
  configure(benchmark::RegisterBenchmark(
      ("program/" + name).c_str(),
      [program](benchmark::State& s) { timed(s, program, {}); }));
  configure(benchmark::RegisterBenchmark(
      ("peer/" + name).c_str(), [peer, peer_environment](benchmark::State& s) {
        timed(s, peer, peer_environment);
      }));
  if (exact_peer) {
    configure(benchmark::RegisterBenchmark(
        ("peer_minimal/" + name).c_str(),
        [exact, peer_environment](benchmark::State& s) {
          timed(s, exact, peer_environment);
        }));
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  register_pair("csv_half_replaced", bench::csv_half_replaced(100'000), true);
  register_pair("unrelated_sharing_one_line",
                bench::unrelated_sharing_one_line(100'000), true);
  register_pair("vocabulary_lines", bench::vocabulary_lines(100'000), true);
  register_pair("random_abc", bench::random_abc(100'000), true);
  register_pair("reversed_numbers_50000", bench::reversed_numbers(50'000),
                true);
  register_pair("reversed_numbers_200000", bench::reversed_numbers(200'000),
                false);
  register_pair("differing_top_40000_of_940000",
                bench::differing_top(40'000, 900'000), false);
  register_pair("halves_swapped", bench::halves_swapped(100'000), true);
  register_pair("scattered_edits_1000000",
                bench::scattered_edits(1'000'000, 10'000), false);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(work_folder());
  return 0;
}
