// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What belongs to one client rather than to the instrument: its error
// queue, its event status, the unit its levels are written in and whether
// it may end the program.

#include "engine/LevelUnit.h"
#include "remote/ErrorQueue.h"

#include <cstdint>

namespace remote {

class SessionState {
public:
    // The event status register's bits that errors and *OPC set.
    static constexpr std::uint8_t kOperationComplete = 1;
    static constexpr std::uint8_t kQueryError = 4;
    static constexpr std::uint8_t kDeviceError = 8;
    static constexpr std::uint8_t kExecutionError = 16;
    static constexpr std::uint8_t kCommandError = 32;

    explicit SessionState(bool mayShutDown) : mayShutDown_(mayShutDown) {}

    // Queues the error and sets its class's event status bit.
    void Report(ScpiError error);
    ErrorQueue& Errors() { return errors_; }
    const ErrorQueue& Errors() const { return errors_; }

    // Levels written without a unit are in this unit (VOLTage:UNIT).
    LevelUnit levelUnit = LevelUnit::DbFs;
    std::uint8_t eventStatus = 0; // *ESR?
    std::uint8_t eventEnable = 0; // *ESE
    bool MayShutDown() const { return mayShutDown_; }

private:
    ErrorQueue errors_;
    bool mayShutDown_;
};

} // namespace remote
