#pragma once
// A value or the reason there is none: what a step returns when failing is part of its answer
// (a file that cannot be read, a field that cannot be written). The caller turns the reason into
// its own box or stderr line; nothing here shows anything.

#include <cassert>
#include <optional>
#include <utility>
#include <variant>

namespace tavo {

template <class T, class Error> class [[nodiscard]] Result {
public:
    Result(T value) : held_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : held_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return held_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() {
        assert(ok());
        return std::get<0>(held_);
    }
    const T& value() const {
        assert(ok());
        return std::get<0>(held_);
    }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const {
        assert(!ok());
        return std::get<1>(held_);
    }

private:
    std::variant<T, Error> held_;
};

// A step that gives nothing back but may fail.
template <class Error> class [[nodiscard]] Result<void, Error> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const {
        assert(!ok());
        return *error_;
    }

private:
    std::optional<Error> error_;
};

} // namespace tavo
