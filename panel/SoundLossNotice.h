// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tells the panel, on its window thread, when the sound it is told to play
// stops reaching a sound server and when it reaches one again, and notes
// on standard error when the server goes away and when it answers again
// (Start and Stop without a server show and clear the notice silently). The output reports from its
// own thread; the reports reach the window thread through its hand-over, in order.

#include <functional>
#include <memory>

class SoundOutput;

class SoundLossNotice {
public:
    // `show` runs on the window thread with each change.
    SoundLossNotice(std::shared_ptr<SoundOutput> output, std::function<void(bool lost)> show);
    // After this no report reaches `show`, not even one already handed over.
    ~SoundLossNotice();
    SoundLossNotice(const SoundLossNotice&) = delete;
    SoundLossNotice& operator=(const SoundLossNotice&) = delete;

private:
    std::shared_ptr<SoundOutput> output_;
    std::shared_ptr<bool> alive_; // read and cleared on the window thread only
};
