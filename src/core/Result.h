#pragma once
// The outcome of a model routine that can fail: its value, or why it failed
// (which file, what could not be done, the system's message).  Windows and
// the command-line tool decide what the user sees; the model only says why.
// Format readers may throw inside; the routine that opened the file turns
// that into a failure here.
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <variant>

struct TFailure {
    std::string file;
    std::string reason;         // "cannot read", "stops partway", ...
    std::string systemMessage;  // the system's text for the error ("" when none)
    int error = 0;              // the errno value behind it (0 when none)

    // "reason FILE: system message".
    std::string Text() const {
        std::string text = reason;
        if (!file.empty()) text += (text.empty() ? "" : " ") + file;
        if (!systemMessage.empty()) text += ": " + systemMessage;
        return text;
    }
    // What went wrong without the file: the system's message, else the reason.
    std::string Why() const { return systemMessage.empty() ? reason : systemMessage; }

    // `error` is an errno value; 0 when the failure is not the system's.
    static TFailure Of(std::string reason, std::string file, int error = 0) {
        return {std::move(file), std::move(reason), error ? std::strerror(error) : "", error};
    }
};

template <class T>
class [[nodiscard]] TResult {
  public:
    TResult(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    TResult(TFailure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }

    T& Value() & { return std::get<0>(state_); }
    const T& Value() const& { return std::get<0>(state_); }
    T&& Value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return Value(); }
    const T& operator*() const& { return Value(); }
    T* operator->() { return &Value(); }
    const T* operator->() const { return &Value(); }

    const TFailure& Failure() const { return std::get<1>(state_); }

  private:
    std::variant<T, TFailure> state_;
};

template <>
class [[nodiscard]] TResult<void> {
  public:
    TResult() = default;
    TResult(TFailure failure) : failure_(std::move(failure)) {}
    static TResult Success() { return {}; }

    bool Ok() const { return !failure_; }
    explicit operator bool() const { return Ok(); }
    const TFailure& Failure() const { return *failure_; }

  private:
    std::optional<TFailure> failure_;
};
