# The two build trees, configured in one place for tools/test-all, tools/fuzz
# and tools/demo. Sourced from the top of the repository; the configure
# functions pass their arguments on to cmake.
#   build/       g++, optimised with debug information: the program, the tests
#                and the benchmarks.
#   build-asan/  clang++ with AddressSanitizer and UndefinedBehaviorSanitizer:
#                the program, the tests and the fuzz targets with libFuzzer.

plain_tree=build
sanitized_tree=build-asan

# CMake cannot change the compiler of a configured tree, so a tree made with
# another compiler (as older checkouts made build-asan/) is made afresh.
require_compiler() {
  local tree=$1 compiler=$2
  if [ -f "$tree/CMakeCache.txt" ] &&
    ! grep -qE "^CMAKE_CXX_COMPILER:[A-Z]+=(.*/)?${compiler//+/\\+}\$" \
      "$tree/CMakeCache.txt"; then
    rm -rf "$tree"
  fi
}

configure_plain_tree() {
  require_compiler "$plain_tree" g++
  cmake -S . -B "$plain_tree" -G Ninja -DCMAKE_CXX_COMPILER=g++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

# Debug with -O1: several times the fuzzing runs a second of -O0, and the
# tests finish sooner too. Warnings always fail this tree, so that test-all
# and fuzzing by hand configure it alike and never rebuild it for a flag.
configure_sanitized_tree() {
  require_compiler "$sanitized_tree" clang++
  cmake -S . -B "$sanitized_tree" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
    -DVRELSDIFF_SANITIZE=ON -DVRELSDIFF_FUZZ=ON -DVRELSDIFF_WERROR=ON \
    -DVRELSDIFF_BUILD_TESTS=ON -DVRELSDIFF_BUILD_BENCH=OFF "$@"
}

# A sanitizer report aborts the process, so no report can pass silently.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
