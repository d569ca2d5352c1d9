// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A client's errors, oldest first. It holds at most 32: an error arriving
// when it is full replaces the newest entry with -350 "Queue overflow", so
// that the client learns that errors were lost and which came first.

#include "remote/ScpiError.h"

#include <cstddef>
#include <deque>

namespace remote {

class ErrorQueue {
public:
    static constexpr std::size_t kCapacity = 32;

    void Push(ScpiError error);
    // The oldest entry, taken off; code 0 "No error" when there is none.
    ScpiError Next();
    std::size_t Count() const { return entries_.size(); }
    void Clear() { entries_.clear(); }

private:
    std::deque<ScpiError> entries_;
};

} // namespace remote
