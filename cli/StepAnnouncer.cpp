// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StepAnnouncer.h"

#include "cli/Messages.h"

#include <charconv>

StepAnnouncer::StepAnnouncer(const StepSchedule& schedule, std::FILE* to)
    : schedule_(schedule), to_(to) {}

std::string StepAnnouncer::Line(const StepSchedule& schedule, std::size_t k) {
    // A point whatever the locale: scripts read the number.
    char hertz[64];
    const auto end = std::to_chars(hertz, hertz + sizeof hertz, schedule.steps[k].hertz,
                                   std::chars_format::fixed, 6);
    const std::string number(hertz, end.ptr);
    return "orbel: " + CliString(CliMessage("step %1 of %2: %3 Hz",
                                            {int(k) + 1, int(schedule.steps.size()), number}));
}

bool StepAnnouncer::Heard(std::uint64_t heardFrames) {
    while (said_ < schedule_.steps.size() && schedule_.steps[said_].startFrame < heardFrames) {
        const std::string line = Line(schedule_, said_) + '\n';
        if (std::fputs(line.c_str(), to_) < 0 || std::fflush(to_) != 0)
            return false;
        ++said_;
    }
    return true;
}
