// SPDX-License-Identifier: MIT
#include "resources.h"

namespace {

const ResourceTable* registered = nullptr;

}  // namespace

void RegisterResources(const ResourceTable* table) { registered = table; }

const DialogTemplate* FindDialogTemplate(UINT id) {
    return registered && registered->dialog ? registered->dialog(id) : nullptr;
}

const char* FindStringResource(UINT id) {
    return registered && registered->string ? registered->string(id) : nullptr;
}

const IconResource* FindIconResource(UINT id) {
    return registered && registered->icon ? registered->icon(id) : nullptr;
}
