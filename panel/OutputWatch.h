// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Follows what the sound server says of the chosen output while the panel
// runs: its volume, which a calibration's volts hold at only, and the rate
// it runs at. The server is asked on a thread of its own, so the window
// thread never waits for it: the rate once per output, the volume every
// half second while it matters (the user or another program may change it
// at any time); a report that differs from the last reaches the window
// thread through its hand-over.

#include "instrument/InstrumentState.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class SoundOutput;

class OutputWatch {
public:
    using Report = std::function<void(const instrument::OutputReport&)>;

    // `report` runs on the window thread with each change of what the
    // server says, the first time once it has answered.
    OutputWatch(std::shared_ptr<SoundOutput> output, Report report,
                std::chrono::milliseconds period = std::chrono::milliseconds(500));
    // After this no report reaches `report`, not even one already handed
    // over. Waits for a question to the server under way (its time limit).
    ~OutputWatch();
    OutputWatch(const OutputWatch&) = delete;
    OutputWatch& operator=(const OutputWatch&) = delete;

    // The output to follow by the server's name (empty: its default), from
    // now on, and whether its volume matters (a calibration holds only at
    // one volume); asked at once.
    void Follow(const std::string& name, bool volume);

private:
    void Run();

    std::shared_ptr<SoundOutput> output_;
    Report report_;
    std::chrono::milliseconds period_;
    std::shared_ptr<bool> alive_; // read and cleared on the window thread only
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string name_;    // under mutex_
    bool volume_ = false; // under mutex_
    bool renamed_ = true; // under mutex_
    bool ending_ = false; // under mutex_
    std::thread thread_;
};
