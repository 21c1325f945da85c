// A fresh folder for a benchmark's generated inputs.
#ifndef VRELSDIFF_BENCH_SUPPORT_TEMP_FOLDER_H_
#define VRELSDIFF_BENCH_SUPPORT_TEMP_FOLDER_H_

#include <string>

namespace bench {

// A new folder named `stem` and six random characters in TMPDIR, else in
// /tmp; ends the benchmark when none can be made.
std::string make_temp_folder(const std::string& stem);

}  // namespace bench

#endif  // VRELSDIFF_BENCH_SUPPORT_TEMP_FOLDER_H_
