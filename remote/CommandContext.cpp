// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/CommandContext.h"

#include "remote/ScpiError.h"

namespace remote {

ChannelSettings& CommandContext::ChannelIn(RemoteSettings& settings) const {
    return Channel() == Output::Right ? settings.right : settings.left;
}

const ChannelSettings& CommandContext::ChannelIn(const RemoteSettings& settings) const {
    return Channel() == Output::Right ? settings.right : settings.left;
}

const Parameter& CommandContext::OnlyParameter() const {
    if (parameters_.empty())
        ThrowScpiError(kMissingParameter);
    if (parameters_.size() > 1)
        ThrowScpiError(kParameterNotAllowed, "one parameter only");
    return parameters_.front();
}

void CommandContext::ExpectNoParameters() const {
    if (!parameters_.empty())
        ThrowScpiError(kParameterNotAllowed);
}

void CommandContext::Apply(const RemoteSettings& wanted) const {
    const Refusal refusal = target.Apply(wanted);
    if (refusal.Refused())
        throw ScpiError{refusal.code, refusal.detail};
}

} // namespace remote
