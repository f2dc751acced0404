// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "core/common/notice.h"

namespace songloader {

// Why something could not be done: the text for people and how it is shown.
struct Failure {
    std::string message;
    std::string caption = kCaptionError;
    NoticeIcon icon = NoticeIcon::Exclamation;
    // Shown after this one, in order, when one failure has more to say (a builder's row message
    // then its own).
    Notices followUps = {};

    Notice AsNotice() const { return Notice{message, caption, icon}; }
    // This failure's notice (none when its message is empty), then its follow-ups.
    Notices AsNotices() const {
        Notices all;
        if (!message.empty()) all.push_back(AsNotice());
        all.insert(all.end(), followUps.begin(), followUps.end());
        return all;
    }
    friend bool operator==(const Failure&, const Failure&) = default;
};

inline Failure Fail(std::string message, std::string caption = kCaptionError,
                    NoticeIcon icon = NoticeIcon::Exclamation) {
    return Failure{std::move(message), std::move(caption), icon};
}

// A failure with nothing more to show: a hook has already said why (or there is nothing to say).
inline Failure FailQuietly() { return Failure{}; }

// The one way the core says whether something worked: a value, or a failure. A caller that must
// tell failures apart (a download's HTTP status, a stop on request) gets a failure type derived
// from Failure that carries what it needs.
template <typename T = void, typename E = Failure>
class [[nodiscard]] Result {
    static_assert(std::is_base_of_v<Failure, E>);

public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(E failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const E& failure() const { return std::get<1>(state_); }
    const std::string& message() const { return failure().message; }

private:
    std::variant<T, E> state_;
};

template <typename E>
class [[nodiscard]] Result<void, E> {
    static_assert(std::is_base_of_v<Failure, E>);

public:
    Result() = default;
    Result(E failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_.has_value(); }
    explicit operator bool() const { return ok(); }

    const E& failure() const { return *failure_; }
    const std::string& message() const { return failure_->message; }

private:
    std::optional<E> failure_;
};

}  // namespace songloader
