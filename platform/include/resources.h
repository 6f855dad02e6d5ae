// SPDX-License-Identifier: MIT
// Resources by id, as a resource script defines them: dialog templates,
// strings and icons. The application hands its own to the platform at
// start-up (RegisterResources); the platform finds them here.
#pragma once

#include "win_types.h"

#include <cstdint>
#include <vector>

// Control classes a template may name.
enum class ControlClass { kButton, kGroupBox, kStatic, kIcon, kProgressBar };

// Styles, as flags that each backend translates.
enum ItemStyle : std::uint32_t {
    kTabStop = 1u << 0,
    kDefaultButton = 1u << 1,
    kBorder = 1u << 2,
    kClientEdge = 1u << 3,  // sunken
    kCenterVertically = 1u << 4,
    kNoPrefix = 1u << 5,
};

enum DialogStyle : std::uint32_t {
    kCaption = 1u << 0,
    kSystemMenu = 1u << 1,
    kModalFrame = 1u << 2,
    kVisible = 1u << 3,
    kAppWindow = 1u << 4,
    kAcceptFiles = 1u << 5,
};

// One control; coordinates and sizes in dialog units.
struct DialogItem {
    int id;  // -1 for none
    ControlClass kind;
    const char* text;
    int x, y, cx, cy;
    std::uint32_t style;
    UINT iconId = 0;  // kIcon only
};

struct DialogTemplate {
    UINT id;
    const char* caption;
    int x, y, cx, cy;
    std::uint32_t style;
    const char* fontFace;
    int fontPoints;
    std::vector<DialogItem> items;  // in creation (and tab) order
};

// An icon: images of several sizes, 32-bit ARGB pixels, row by row.
struct IconImage {
    int size;
    std::vector<std::uint32_t> argb;
};
struct IconResource {
    UINT id;
    std::vector<IconImage> images;
};

struct VersionResource {
    UINT language;
    UINT codePage;
    const char* fileVersion;
    const char* productVersion;
    const char* fileDescription;
    const char* productName;
    const char* internalName;
};

// The application's resources: each lookup is null for an id it does not define.
struct ResourceTable {
    const DialogTemplate* (*dialog)(UINT id);
    const char* (*string)(UINT id);
    const IconResource* (*icon)(UINT id);
};
// The table stays the application's; null takes it back.
void RegisterResources(const ResourceTable* table);

// Each is null when the registered resources define no such id (or none are registered).
const DialogTemplate* FindDialogTemplate(UINT id);
const char* FindStringResource(UINT id);
const IconResource* FindIconResource(UINT id);
