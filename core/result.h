#pragma once
// A value, or the failure that kept it from being made: the failure's kind, on which the caller
// decides, and its message, which people read. Core and command line return it wherever an
// operation can fail; nothing is thrown.
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace lx {

template <class Kind>
struct Failure {
  Kind kind{};
  std::string message;
};

template <class Kind>
Failure(Kind, std::string) -> Failure<Kind>;

template <class T, class Kind>
class [[nodiscard]] Result {
 public:
  Result(T value) : held_(std::in_place_index<0>, std::move(value)) {}
  Result(Failure<Kind> failure) : held_(std::in_place_index<1>, std::move(failure)) {}

  bool ok() const { return held_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(held_); }
  const T& value() const& { return std::get<0>(held_); }
  T&& value() && { return std::get<0>(std::move(held_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T&& operator*() && { return std::move(*this).value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const Failure<Kind>& failure() const { return std::get<1>(held_); }
  Kind kind() const { return failure().kind; }
  const std::string& message() const { return failure().message; }

 private:
  std::variant<T, Failure<Kind>> held_;
};

// An operation that gives nothing back but may fail.
template <class Kind>
class [[nodiscard]] Result<void, Kind> {
 public:
  Result() = default;
  Result(Failure<Kind> failure) : failure_(std::move(failure)) {}

  bool ok() const { return !failure_; }
  explicit operator bool() const { return ok(); }
  const Failure<Kind>& failure() const { return *failure_; }
  Kind kind() const { return failure_->kind; }
  const std::string& message() const { return failure_->message; }

 private:
  std::optional<Failure<Kind>> failure_;
};

}  // namespace lx
