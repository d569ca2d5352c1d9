// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the output tells about the chosen device while it plays. It carries
// names, not a sentence, so that whoever shows it words it in the user's
// language.

#include <string>
#include <utility>

struct DeviceNotice {
    enum class Kind {
        Left, // the chosen output went away; the sound plays on `nowOn`
        Back, // the sound is on the chosen output again
    };
    // Where the sound went when the chosen output left.
    enum class Where {
        Named,         // `nowOn` names the output
        DefaultOutput, // the server's default output
        Unknown,       // the server did not say
    };
    Kind kind = Kind::Left;
    std::string device; // the chosen output
    Where where = Where::Named;
    std::string nowOn;

    static DeviceNotice Left(std::string device, Where where, std::string nowOn = {}) {
        return {Kind::Left, std::move(device), where, std::move(nowOn)};
    }
    static DeviceNotice Back(std::string device) {
        return {Kind::Back, std::move(device), Where::Named, {}};
    }
};
