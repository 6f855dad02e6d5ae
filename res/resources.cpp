// SPDX-License-Identifier: MIT
// The resource script: every dialog, string and icon of the program, by id.
#include <array>

#include "program_resources.h"
#include "resource_ids.h"
#include "version.h"

IconResource DrawAppIcon(UINT id);

namespace {

constexpr const char* kDialogFont = "ＭＳ Ｐゴシック";
constexpr int kDialogPoints = 9;
constexpr int kNone = -1;

// The templates as a resource script lays them out, a line a group of fields.
// clang-format off
const DialogTemplate kAboutBox{
    IDD_ABOUTBOX, "Varnolaのﾊﾞｰｼﾞｮﾝ情報", 0, 0, 235, 55,
    kCaption | kSystemMenu | kModalFrame, kDialogFont, kDialogPoints,
    {
        {kNone, ControlClass::kIcon, "", 11, 17, 20, 20, 0, IDR_MAINFRAME},
        {kNone, ControlClass::kStatic, "Varnola Version 1.0", 40, 10, 119, 8, kNoPrefix},
        {static_cast<int>(IDOK), ControlClass::kButton, "OK", 178, 7, 50, 14,
         kDefaultButton | kTabStop},
    }};

const DialogTemplate kNormalizeDialog{
    IDD_NORMALIZE_DIALOG, "Varnola", 0, 0, 280, 149,
    kVisible | kCaption | kSystemMenu | kModalFrame | kAppWindow | kAcceptFiles,
    kDialogFont, kDialogPoints,
    {
        {kNone, ControlClass::kGroupBox, "Wave File Name", 7, 7, 266, 34, 0},
        {IDC_FILE, ControlClass::kButton, "File", 231, 20, 33, 14, kTabStop},
        {IDC_MEASURE_PROGRESS, ControlClass::kProgressBar, "Progress1", 15, 64, 250, 14, kBorder},
        {kNone, ControlClass::kGroupBox, "", 7, 45, 266, 97, 0},
        {IDC_SAVE_PROGRESS, ControlClass::kProgressBar, "Progress1", 15, 95, 250, 14, kBorder},
        {IDC_FILE_NAME, ControlClass::kStatic, "", 15, 20, 209, 14, kCenterVertically | kClientEdge},
        {IDC_STATUS, ControlClass::kStatic, "Static", 15, 122, 250, 14,
         kCenterVertically | kClientEdge},
        {kNone, ControlClass::kStatic, "Regular Status", 15, 53, 48, 8, 0},
        {kNone, ControlClass::kStatic, "File Save Status", 15, 83, 53, 8, 0},
    }};

struct StringEntry {
    UINT id;
    const char* text;
};
constexpr std::array kStrings{
    StringEntry{IDS_ABOUTBOX, "Varnola のﾊﾞｰｼﾞｮﾝ情報(&A)..."},
};

const VersionResource kVersion{0x0411, 0x04B0, VARNOLA_VERSION, VARNOLA_VERSION,
                               "Varnola MFC ｱﾌﾟﾘｹｰｼｮﾝ", "Varnola ｱﾌﾟﾘｹｰｼｮﾝ", "Varnola"};
// clang-format on

const DialogTemplate* DialogById(UINT id) {
    for (const DialogTemplate* t : {&kAboutBox, &kNormalizeDialog}) {
        if (t->id == id) return t;
    }
    return nullptr;
}

const char* StringById(UINT id) {
    for (const auto& entry : kStrings) {
        if (entry.id == id) return entry.text;
    }
    return nullptr;
}

const IconResource* IconById(UINT id) {
    static const IconResource appIcon = DrawAppIcon(IDR_MAINFRAME);
    return id == appIcon.id ? &appIcon : nullptr;
}

}  // namespace

const ResourceTable& ProgramResources() {
    static const ResourceTable table{&DialogById, &StringById, &IconById};
    return table;
}

const VersionResource& GetVersionResource() { return kVersion; }
