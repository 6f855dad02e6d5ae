// SPDX-License-Identifier: MIT
// The program's own resources: the table the application registers with
// the platform at start-up, and the version record the Windows program
// carries.
#pragma once

#include "resources.h"

const ResourceTable& ProgramResources();
const VersionResource& GetVersionResource();
