// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes each missing folder of an absolute path, private to the user (as a
// settings folder should be). true when the folder stands afterwards.

#include <string>

bool MakeFolders(const std::string& folder);
