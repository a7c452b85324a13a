#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace tapwise {

// An error as it crosses a layer boundary: a number (0 when there is none to
// give) and a text meant for the user.
struct Error {
    int code = 0;
    QString message;
};

// The value of an operation that can fail, or the reason it failed.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<T>(state_); }
    const T& value() const& { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    T valueOr(T fallback) const { return ok() ? std::get<T>(state_) : std::move(fallback); }

    const Error& error() const { return std::get<Error>(state_); }

private:
    std::variant<T, Error> state_;
};

// The outcome of an operation that gives nothing back but can fail.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *error_; }

private:
    std::optional<Error> error_;
};

using Status = Result<void>;

} // namespace tapwise
