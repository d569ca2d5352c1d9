// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's two commands. Each returns the program's exit status
// and says what went wrong in one line on standard error.

#include "cli/CommandLine.h"
#include "engine/StreamedTone.h"
#include "engine/ToneRequest.h"
#include "engine/WaveFormat.h"

#include <optional>
#include <string>

// The file name that stands for standard output.
inline const std::string kStandardOutput = "-";

// Builds the signal and writes it as a WAV file (all or nothing; an
// existing file is left as it was when the export fails, see
// WriteWholeFile), or to standard output for "-". 0 when written, 1 when
// not, with the system's reason.
int RunExport(const ToneRequest& tone, const std::string& file);

// The same for a streamed tone: `durationMs` of it in `format`.
int RunStreamedExport(const StreamedToneSettings& tone, const WaveFormat& format, int durationMs,
                      const std::string& file);

// The request's multitone, with its tones read from its list file when it
// names one (a regular file of at most 1 MB, never waiting on a FIFO), or
// `refusal`: one line saying why it cannot be made.
struct PreparedMultitone {
    Multitone multitone;
    std::string refusal;
};
PreparedMultitone PrepareMultitone(const MultitoneRequest& request);

// Writes the multitone (see RunExport) and prints its crest factor on
// standard error. 2 when it is refused (nothing written), 1 when it
// cannot be written.
int RunMultitoneExport(const MultitoneRequest& request, const std::string& file);

// Writes the whole stepped sweep (see RunExport).
int RunSteppedSweepExport(const SteppedSweepRequest& request, const std::string& file);

// Whether a sound server answers with an output to play on; else says why
// on standard error.
class SoundOutput;
bool OutputCanPlay(SoundOutput& output);

// Plays the multitone's period over and over (see RunPlay), after saying
// its crest factor as export does. 2 when it is refused.
int RunMultitonePlay(const MultitoneRequest& request, std::optional<double> seconds);

// Plays the stepped sweep once through, then fades out (see RunPlay;
// `seconds` may end it before). Says each step on standard output as it is
// heard, one flushed line a step (see StepAnnouncer); 1 also when a line
// cannot be written.
int RunSteppedSweepPlay(const SteppedSweepRequest& request, std::optional<double> seconds);

// Plays the signal in a loop through the sound server until `seconds` have
// passed (without: until interrupted), then fades it out. SIGINT (Ctrl-C),
// SIGTERM and SIGHUP end it the same way; SIGQUIT too, and then takes its
// default effect. Prints a line when the server goes away and when it
// answers again. 0 when played; 1 when no sound server answers, the signal
// cannot be built, or part of the time was silent through a lost server
// (with a last line saying for how long).
int RunPlay(const ToneRequest& tone, std::optional<double> seconds);

// The same for a streamed tone (a frequency that no loop holds): `tone` in
// `format`, at the play levels of `request`. The output pulls its frames as
// it plays.
int RunStreamedPlay(const ToneRequest& request, const StreamedToneSettings& tone,
                    const WaveFormat& format, std::optional<double> seconds);
