// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/ErrorQueue.h"

#include <utility>

namespace remote {

void ErrorQueue::Push(ScpiError error) {
    if (entries_.size() < kCapacity)
        entries_.push_back(std::move(error));
    else
        entries_.back() = ScpiError{kQueueOverflow, {}};
}

ScpiError ErrorQueue::Next() {
    if (entries_.empty())
        return {};
    ScpiError oldest = std::move(entries_.front());
    entries_.pop_front();
    return oldest;
}

} // namespace remote
