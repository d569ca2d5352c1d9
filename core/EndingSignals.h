// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signals that end the program from outside (SIGINT, SIGTERM, SIGHUP,
// SIGQUIT) caught while an object of this class lives, so that the program
// ends through its normal path and its sound fades out instead of being
// cut. The handler only notes the signal and writes it to a pipe, whose
// reading end a window thread can watch. The previous handlers come back
// with the destructor. One at a time.

class EndingSignals {
public:
    EndingSignals();
    ~EndingSignals();
    EndingSignals(const EndingSignals&) = delete;
    EndingSignals& operator=(const EndingSignals&) = delete;

    // The first signal caught, 0 before any.
    int Caught() const;
    // Becomes readable when a signal has been caught (-1 without a pipe).
    int ReadFd() const { return pipe_[0]; }
    // After the sound has faded: a caught SIGQUIT takes its default effect
    // now (a core file), with the previous handlers back.
    void RaiseQuitIfCaught();

private:
    int pipe_[2] = {-1, -1};
};
