// DiffError: the one error value of the comparison and both output modes.
#ifndef VRELSDIFF_IO_UTILS_DIFF_ERROR_H_
#define VRELSDIFF_IO_UTILS_DIFF_ERROR_H_

#include <string>
#include <string_view>

namespace io_utils {

enum class DiffErrorKind {
  NotFound,          // payload: a path whose status cannot be read
  PermissionDenied,  // payload: a path the system refuses to open
  IsDirectory,       // payload: a path that names a directory
  Message,           // payload: a complete message
  InvalidUtf8,       // payload: a path whose content is not UTF-8
};

// A ready-to-print message: the kind only picks the fixed words that follow
// the payload. Callers pass it on unchanged; main prints it once.
struct DiffError {
  DiffErrorKind kind;
  std::string payload;

  static DiffError not_found(std::string path);
  static DiffError permission_denied(std::string path);
  static DiffError is_directory(std::string path);
  static DiffError message(std::string text);
  static DiffError invalid_utf8(std::string path);
};

// The payload followed by the fixed words of its kind; no program name and
// no line end.
std::string message_text(const DiffError& error);

// "Permission denied (os error 13)": the C library's description of errnum,
// then the number.
std::string os_error_text(int errnum);

// Descriptions of the failures the I/O layer detects itself (no errno).
inline constexpr std::string_view kInvalidUtf8StreamText =
    "stream did not contain valid UTF-8";
inline constexpr std::string_view kWriteZeroText =
    "failed to write whole buffer";
inline constexpr std::string_view kWriteBufferedZeroText =
    "failed to write the buffered data";

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_DIFF_ERROR_H_
