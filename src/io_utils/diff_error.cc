// The message texts of DiffError and the text of an I/O error.
#include "io_utils/diff_error.h"

#include <string.h>

#include <utility>

namespace io_utils {

DiffError DiffError::not_found(std::string path) {
  return {DiffErrorKind::NotFound, std::move(path)};
}
DiffError DiffError::permission_denied(std::string path) {
  return {DiffErrorKind::PermissionDenied, std::move(path)};
}
DiffError DiffError::is_directory(std::string path) {
  return {DiffErrorKind::IsDirectory, std::move(path)};
}
DiffError DiffError::message(std::string text) {
  return {DiffErrorKind::Message, std::move(text)};
}
DiffError DiffError::invalid_utf8(std::string path) {
  return {DiffErrorKind::InvalidUtf8, std::move(path)};
}

std::string message_text(const DiffError& error) {
  switch (error.kind) {
    case DiffErrorKind::NotFound:
      return error.payload + ": No such file or directory";
    case DiffErrorKind::PermissionDenied:
      return error.payload + ": Permission denied";
    case DiffErrorKind::IsDirectory:
      return error.payload + ": Is a directory";
    case DiffErrorKind::Message:
      return error.payload;
    case DiffErrorKind::InvalidUtf8:
      return error.payload + ": invalid UTF-8 content";
  }
  return error.payload;
}

std::string os_error_text(int errnum) {
  char buffer[256];
  // This strerror_r returns the description, which need not be `buffer`.
  const char* description = strerror_r(errnum, buffer, sizeof buffer);
  return std::string(description) + " (os error " + std::to_string(errnum) +
         ")";
}

}  // namespace io_utils
