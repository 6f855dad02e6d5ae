// SPDX-License-Identifier: MIT
// The resources in the forms the Windows tools read: a resource script for
// the resource compiler and an .ico file of the application icon, both
// written from the one definition in resources.cpp.
#pragma once

#include <ostream>
#include <string>

// The script, UTF-8; `iconFile` is where the script finds the icon.
void WriteResourceScript(std::ostream& out, const std::string& iconFile);
// The icon resource: every image, 32 bits with its transparency mask.
bool WriteIconFile(std::ostream& out, unsigned iconId);
