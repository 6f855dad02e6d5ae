// SPDX-License-Identifier: MIT
// The open-file dialog of the Qt backend.
#pragma once

#include <string>
#include <vector>

#include "native_window.h"

class QWidget;

// Lets the user choose files in a modal dialog over `owner`; the paths are
// the file system's own bytes. False when the user cancels.
bool ChooseFilesInDialog(QWidget* owner, const OpenFileRequest& request,
                         std::vector<std::string>& paths);
