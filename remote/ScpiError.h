// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An error of the remote protocol: one of its standard codes and, beyond
// the code's standard text, what the client should know. A command that
// cannot be done throws one; the session queues it and goes on with the
// line's next command.

#include <string>
#include <string_view>
#include <utility>

namespace remote {

struct ScpiError {
    int code = 0;
    std::string detail;
};

// The standard codes this protocol gives.
inline constexpr int kInvalidCharacter = -101;
inline constexpr int kSyntaxError = -102;
inline constexpr int kDataTypeError = -104;
inline constexpr int kParameterNotAllowed = -108;
inline constexpr int kMissingParameter = -109;
inline constexpr int kUndefinedHeader = -113;
inline constexpr int kHeaderSuffixOutOfRange = -114;
inline constexpr int kInvalidSuffix = -131;
inline constexpr int kExecutionError = -200;
inline constexpr int kCommandProtected = -203;
inline constexpr int kSettingsConflict = -221;
inline constexpr int kDataOutOfRange = -222;
inline constexpr int kIllegalParameterValue = -224;
inline constexpr int kQueueOverflow = -350;

[[noreturn]] inline void ThrowScpiError(int code, std::string detail = {}) {
    throw ScpiError{code, std::move(detail)};
}

// The standard text of a code ("Undefined header"). A code without one of
// its own gets its class's (-2xx: "Execution error").
std::string_view StandardErrorText(int code);

// As SYSTem:ERRor? answers: -222,"Data out of range;1 Hz to 20000 Hz".
// Printable ASCII only, without double quotes, at most 255 characters.
std::string ErrorQueueEntry(const ScpiError& error);

} // namespace remote
