// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a command's handler works with: the instrument, the client's
// session, the channel number and parameters the client wrote, and the
// reply a query gives.

#include "remote/Parameter.h"
#include "remote/ScpiTarget.h"
#include "remote/SessionState.h"

#include <optional>
#include <string>
#include <vector>

namespace remote {

class CommandContext {
public:
    CommandContext(ScpiTarget& target, SessionState& session, std::optional<int> number,
                   const std::vector<Parameter>& parameters)
        : target(target), session(session), number_(number), parameters_(parameters) {}

    ScpiTarget& target;
    SessionState& session;
    std::string reply;
    // Set by a command that waits for the instrument's operation to end:
    // it runs again, as it was written, once the operation has ended.
    bool waits = false;

    // The channel number written in the header, if any.
    std::optional<int> Number() const { return number_; }
    // The output the header names: 2 is the right, 1 or none the left.
    Output Channel() const { return number_ == 2 ? Output::Right : Output::Left; }
    ChannelSettings& ChannelIn(RemoteSettings& settings) const;
    const ChannelSettings& ChannelIn(const RemoteSettings& settings) const;

    const std::vector<Parameter>& Parameters() const { return parameters_; }
    // The one parameter a command takes: throws -109 when there is none,
    // -108 when there are more.
    const Parameter& OnlyParameter() const;
    // For a command without parameters: throws -108 when there are some.
    void ExpectNoParameters() const;

    // Applies the settings whole; throws the target's refusal.
    void Apply(const RemoteSettings& wanted) const;
    // The instrument's settings as `edit` changes them, applied whole.
    template <class Edit> void Change(Edit edit) const {
        RemoteSettings wanted = target.Current();
        edit(wanted);
        Apply(wanted);
    }

private:
    std::optional<int> number_;
    const std::vector<Parameter>& parameters_;
};

} // namespace remote
