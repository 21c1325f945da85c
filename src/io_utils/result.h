// Result<T>: a value, or the DiffError that prevented it.
#ifndef VRELSDIFF_IO_UTILS_RESULT_H_
#define VRELSDIFF_IO_UTILS_RESULT_H_

#include <optional>
#include <utility>
#include <variant>

#include "io_utils/diff_error.h"

namespace io_utils {

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(DiffError error) : state_(std::move(error)) {}

  bool ok() const { return state_.index() == 0; }
  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  DiffError& error() { return std::get<1>(state_); }
  const DiffError& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, DiffError> state_;
};

// Success carries nothing; a default-constructed Result<void> is success.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(DiffError error) : error_(std::move(error)) {}

  bool ok() const { return !error_.has_value(); }
  DiffError& error() { return *error_; }
  const DiffError& error() const { return *error_; }

 private:
  std::optional<DiffError> error_;
};

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_RESULT_H_
