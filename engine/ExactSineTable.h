#pragma once
// sin(2 pi m / rate) for every whole phase index m of a sample rate, in
// extended precision. Made once per rate and kept for the life of the
// program: every precise component at that rate reads its values from it.

#include <vector>

const std::vector<long double>& ExactSineTable(int rate);
