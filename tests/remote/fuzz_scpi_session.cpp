// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a client's lines, one session for the whole input: no
// crash; every answer is empty or one line ending in a line feed; the
// error queue never holds more than 32; every frequency the instrument is
// asked to play lies in its range. An operation is under way while the
// input's first byte's bit 2 is set, and ends before the last line's
// held replies are asked for: then nothing waits any more.
#include "remote/Session.h"
#include "tests/remote/FakeTarget.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

class CheckingTarget : public remote::FakeTarget {
public:
    remote::Refusal Apply(const remote::RemoteSettings& wanted) override {
        const FrequencyRange range = Frequencies();
        for (const MilliHertz f :
             {wanted.left.frequency, wanted.right.frequency, wanted.sweep.start, wanted.sweep.stop,
              wanted.steps.start, wanted.steps.stop})
            if (!range.Holds(f))
                std::abort();
        return FakeTarget::Apply(wanted);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckingTarget target;
    remote::Session session(target, size > 0 && data[0] % 2 == 0);
    target.pending = size > 0 && (data[0] & 4) != 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        const std::string reply = session.Execute(input.substr(0, end));
        input.remove_prefix(std::min(end + 1, input.size()));
        if (!reply.empty() && (reply.back() != '\n' || reply.find('\n') != reply.size() - 1))
            std::abort();
        if (session.QueuedErrors() > remote::ErrorQueue::kCapacity)
            std::abort();
    }
    target.pending = false;
    session.Resume();
    if (session.Waiting() || session.HeldBytes() != 0)
        std::abort();
    return 0;
}
