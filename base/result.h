#pragma once
// What the plain modules give back from anything that can fail: the value, or
// why there is none, in words for whoever reads it (a player, a skin author).
// Failing is an ordinary answer for a skin's files or a stored setting, so it
// is a value the caller must look at, not an exception that unwinds past it.
//
// The standard's std::expected would do, but g++ 12 offers it only to C++23
// and the browser build's library not at all; this is the part of it we use.

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace pellox {

// Why something failed. Never empty: a failure says what went wrong.
struct Failure {
    explicit Failure(std::string why) : reason(std::move(why)) {}
    std::string reason;
};

template <typename T>
class [[nodiscard]] Result {
    static_assert(!std::is_same_v<std::remove_cv_t<T>, Failure>, "a Result holds a value or a Failure, not both");

public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // Why it failed; empty when ok().
    const std::string& reason() const { return ok() ? kNoReason : std::get<1>(state_).reason; }

private:
    static inline const std::string kNoReason;
    std::variant<T, Failure> state_;
};

// The result of something that has no value to give: done, or why not.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : reason_(std::move(failure.reason)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& reason() const { return reason_; }

private:
    std::string reason_;
    bool failed_ = false;
};

}  // namespace pellox
