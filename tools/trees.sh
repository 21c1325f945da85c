# The two build trees, configured in one place for tools/test-all, tools/fuzz
# and tools/demo. Sourced from the top of the repository; the configure
# functions pass their arguments on to cmake.
#   build/       g++, optimised with debug information: the program, the tests
#                and the benchmarks.
#   build-asan/  clang++ with AddressSanitizer and UndefinedBehaviorSanitizer:
#                the program, the tests and the fuzz targets with libFuzzer.

plain_tree=build
sanitized_tree=build-asan

# The cmake argument that picks `compiler` for a new tree. CMake cannot
# change the compiler of a configured tree: a tree made with the same kind of
# compiler (`id` as CMake names it, GNU or Clang) is kept as it is, and one
# made with another kind (as older checkouts made build-asan/ with g++) is
# made afresh.
compiler_choice() {
  local tree=$1 id=$2 compiler=$3
  if [ -f "$tree/CMakeCache.txt" ]; then
    if grep -qs "set(CMAKE_CXX_COMPILER_ID \"$id\")" \
      "$tree"/CMakeFiles/*/CMakeCXXCompiler.cmake; then
      return
    fi
    echo "$tree/ was made with another compiler than $compiler; making it afresh" >&2
    rm -rf "$tree"
  fi
  echo "-DCMAKE_CXX_COMPILER=$compiler"
}

configure_plain_tree() {
  cmake -S . -B "$plain_tree" -G Ninja \
    $(compiler_choice "$plain_tree" GNU g++) \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

# Debug with -O1: several times the fuzzing runs a second of -O0, and the
# tests finish sooner too. Warnings always fail this tree, so that test-all
# and fuzzing by hand configure it alike and never rebuild it for a flag.
configure_sanitized_tree() {
  cmake -S . -B "$sanitized_tree" -G Ninja \
    $(compiler_choice "$sanitized_tree" Clang clang++) \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
    -DVRELSDIFF_SANITIZE=ON -DVRELSDIFF_FUZZ=ON -DVRELSDIFF_WERROR=ON \
    -DVRELSDIFF_BUILD_TESTS=ON -DVRELSDIFF_BUILD_BENCH=OFF "$@"
}

# A sanitizer report aborts the process, so no report can pass silently.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
