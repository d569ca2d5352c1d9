# shellcheck shell=bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The files that carry a licence line: every source, script and CMake file
# git tracks, one per line, relative to the repository's top. Sourced by
# check-spdx.sh and add-spdx.sh so that both look at the same set.

# Read by the scripts that source this file.
# shellcheck disable=SC2034
spdx_tag='SPDX-License-Identifier: GPL-3.0-or-later'

spdx_files() {
  git -C "$1" ls-files -- '*.cpp' '*.h' '*.sh' '*.py' '*.cmake' 'CMakeLists.txt' '*/CMakeLists.txt'
}
