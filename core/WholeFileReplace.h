// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replaces a file with new contents whole or not at all: the contents go to
// a new file beside it, reach the disk, and take the old name in one step,
// so that a reader at any moment, and two writers at once, only ever see a
// complete file. The folder is made when it is missing. Whatever stands at
// the name (a link included) is replaced, never written through.
//
// The calibration store takes its writer as a function, so that another
// writer of the settings folder may take this one's place.

#include <functional>
#include <string>
#include <string_view>

// true when the new contents stand under the name.
bool ReplaceWholeFile(const std::string& path, std::string_view contents);

using FileReplacer = std::function<bool(const std::string& path, std::string_view contents)>;
