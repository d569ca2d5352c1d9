// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number pattern of an analog control's value text.
//
//   "0"  a digit that is always written
//   "#"  a digit written only when significant
//   "."  the decimal separator (written only when a fraction digit follows)
//   ";"  separates the sections for positive, negative and zero numbers
//
// The number is rounded at the pattern's last digit, halves away from zero.
// A negative number formatted by the positive section gets a leading "-"; a
// negative section writes no sign of its own. Any other character is copied
// where it stands. An empty pattern writes the number in its shortest form.

#include <string>
#include <string_view>

std::string FormatValue(double value, std::string_view pattern);
