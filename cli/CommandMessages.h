// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's messages on standard error, in one place: each is one
// line after "orbel: ".

namespace command_messages {

inline constexpr const char* kNoServer = "no sound server answers (PulseAudio or PipeWire)";
// play: a server answers but has no output (no sink) to play on.
inline constexpr const char* kNoOutput = "the sound server has no output to play on";
inline constexpr const char* kNoMemory = "not enough memory to build the signal";
// export: the file's name and the system's reason follow.
inline constexpr const char* kCannotWrite = "cannot write";
// play: the server went away, and answers again; the sound comes back by itself.
inline constexpr const char* kSoundLost = "no sound output: the sound server does not answer";
// play: the server answers, but refused or ended the stream.
inline constexpr const char* kStreamDropped =
    "no sound output: the sound server dropped the stream";
inline constexpr const char* kSoundBack = "sound output restored";
// play's last line when part of it was silent: seconds lost, seconds played.
inline constexpr const char* kLostForFormat = "the sound was lost for %.1f s of %.1f s played";

} // namespace command_messages
