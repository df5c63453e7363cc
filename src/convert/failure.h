#pragma once

#include <cstddef>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace qdvz {

// What went wrong, as callers tell failures apart: by kind, never by the message text.
enum class FailureKind {
  kNotQdData,     // no "999" marker line, or a macro handed in as data
  kNoSizeData,    // no character-size table has been loaded
  kBeyondMacro,   // data that the macro cannot hold (16-bit numbers, lines, sizes, ...)
  kBadSizeFile,   // a character-size file whose items cannot be read
  kNotCp932Text,  // bytes that are not code page 932 text
  kUnsavable,     // a character that code page 932 cannot hold
  kFileAccess,    // a file or stream could not be opened, read or written
  kNoConverter,   // the system has no code page 932 converter
  kUsage,         // a command line that is wrong
  kCutOff,        // data beyond a limit was left out; the rest is good (a warning)
};

// One failure: its kind, one Japanese message for the user, and the 1-based line of the text
// it concerns (0 when it concerns no particular line). Failures inside a text also say where:
// the byte offset of bytes that do not decode, or the UTF-16 index of a character that
// cannot be encoded.
struct Failure {
  FailureKind kind{};
  std::u16string message;
  int line = 0;
  size_t position = 0;

  friend bool operator==(const Failure&, const Failure&) = default;
};

// "12行目: message", or the bare message when no line is named.
std::u16string Describe(const Failure& failure);

// What the user is told of an exception where none was expected: that memory ran out, or
// what the exception says.
std::u16string DescribeUnexpected(const std::exception& error);

// A value, or the failure that prevented it. Test it like a pointer: `if (!result)`.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

  explicit operator bool() const { return state_.index() == 0; }
  T& operator*() { return std::get<0>(state_); }
  const T& operator*() const { return std::get<0>(state_); }
  T* operator->() { return &std::get<0>(state_); }
  const T* operator->() const { return &std::get<0>(state_); }
  const Failure& failure() const { return std::get<1>(state_); }

 private:
  std::variant<T, Failure> state_;
};

// Success with nothing to return, or the failure.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : failure_(std::move(failure)) {}

  explicit operator bool() const { return !failure_; }
  const Failure& failure() const { return *failure_; }

 private:
  std::optional<Failure> failure_;
};

}  // namespace qdvz
