// SPDX-License-Identifier: MIT
#include "resource_script.h"

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <vector>

#include "program_resources.h"
#include "resource_ids.h"

namespace {

// The system's style bits for what the templates say.
constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::uint32_t WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;
constexpr std::uint32_t DS_MODALFRAME = 0x80;
constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;
constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;
constexpr std::uint32_t WS_EX_ACCEPTFILES = 0x00000010;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr std::uint32_t BS_GROUPBOX = 0x7;
constexpr std::uint32_t SS_NOPREFIX = 0x80;
constexpr std::uint32_t SS_CENTERIMAGE = 0x200;

std::string Quoted(const char* text) {
    std::string out = "\"";
    for (const char* p = text; *p; ++p) {
        if (*p == '"')
            out += "\"\"";
        else if (*p == '\\')
            out += "\\\\";
        else
            out += *p;
    }
    return out + "\"";
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

void WriteDialog(std::ostream& out, const DialogTemplate& dialog) {
    std::uint32_t style = WS_POPUP;
    if (dialog.style & kVisible) style |= WS_VISIBLE;
    if (dialog.style & kCaption) style |= WS_CAPTION;
    if (dialog.style & kSystemMenu) style |= WS_SYSMENU;
    if (dialog.style & kModalFrame) style |= DS_MODALFRAME;
    std::uint32_t exStyle = 0;
    if (dialog.style & kAppWindow) exStyle |= WS_EX_APPWINDOW;
    if (dialog.style & kAcceptFiles) exStyle |= WS_EX_ACCEPTFILES;

    out << dialog.id << " DIALOGEX " << dialog.x << ", " << dialog.y << ", " << dialog.cx << ", "
        << dialog.cy << "\n"
        << "STYLE " << Hex(style) << "\n";
    if (exStyle) out << "EXSTYLE " << Hex(exStyle) << "\n";
    out << "CAPTION " << Quoted(dialog.caption) << "\n"
        << "FONT " << dialog.fontPoints << ", " << Quoted(dialog.fontFace) << ", 0, 0, 0x1\n"
        << "BEGIN\n";
    for (const DialogItem& item : dialog.items) {
        const std::string at = std::to_string(item.x) + ", " + std::to_string(item.y) + ", " +
                               std::to_string(item.cx) + ", " + std::to_string(item.cy);
        if (item.kind == ControlClass::kIcon) {
            out << "    ICON " << item.iconId << ", " << item.id << ", " << at << "\n";
            continue;
        }
        std::uint32_t itemStyle = WS_CHILD | WS_VISIBLE;
        std::uint32_t itemExStyle = 0;
        const char* className = "Static";
        switch (item.kind) {
            case ControlClass::kButton:
                className = "Button";
                if (item.style & kDefaultButton) itemStyle |= BS_DEFPUSHBUTTON;
                break;
            case ControlClass::kGroupBox:
                className = "Button";
                itemStyle |= BS_GROUPBOX;
                break;
            case ControlClass::kProgressBar:
                className = "msctls_progress32";
                break;
            default:
                if (item.style & kCenterVertically) itemStyle |= SS_CENTERIMAGE;
                if (item.style & kNoPrefix) itemStyle |= SS_NOPREFIX;
                break;
        }
        if (item.style & kTabStop) itemStyle |= WS_TABSTOP;
        if (item.style & kBorder) itemStyle |= WS_BORDER;
        if (item.style & kClientEdge) itemExStyle |= WS_EX_CLIENTEDGE;
        out << "    CONTROL " << Quoted(item.text) << ", " << item.id << ", " << Quoted(className)
            << ", " << Hex(itemStyle) << ", " << at << ", " << Hex(itemExStyle) << "\n";
    }
    out << "END\n\n";
}

void WriteVersion(std::ostream& out, const VersionResource& version) {
    auto numbers = [](const char* dotted) {
        std::string text = dotted;
        for (char& c : text) {
            if (c == '.') c = ',';
        }
        return text;
    };
    char block[16];
    std::snprintf(block, sizeof block, "%04X%04X", version.language, version.codePage);
    out << "1 VERSIONINFO\n"
        << "FILEVERSION " << numbers(version.fileVersion) << "\n"
        << "PRODUCTVERSION " << numbers(version.productVersion) << "\n"
        << "FILEFLAGSMASK 0x3F\nFILEFLAGS 0x0\nFILEOS 0x4\nFILETYPE 0x1\nFILESUBTYPE 0x0\n"
        << "BEGIN\n"
        << "    BLOCK \"StringFileInfo\"\n    BEGIN\n"
        << "        BLOCK \"" << block << "\"\n        BEGIN\n"
        << "            VALUE \"FileDescription\", " << Quoted(version.fileDescription) << "\n"
        << "            VALUE \"FileVersion\", " << Quoted(version.fileVersion) << "\n"
        << "            VALUE \"InternalName\", " << Quoted(version.internalName) << "\n"
        << "            VALUE \"ProductName\", " << Quoted(version.productName) << "\n"
        << "            VALUE \"ProductVersion\", " << Quoted(version.productVersion) << "\n"
        << "        END\n    END\n"
        << "    BLOCK \"VarFileInfo\"\n    BEGIN\n"
        << "        VALUE \"Translation\", " << Hex(version.language) << ", " << version.codePage
        << "\n"
        << "    END\nEND\n";
}

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One image as the .ico format holds it: a bitmap header, the colour rows
// bottom-up (BGRA), then the one-bit mask rows, each padded to 32 bits.
std::string IconImageBytes(const IconImage& image) {
    const int size = image.size;
    const std::size_t maskRow = static_cast<std::size_t>((size + 31) / 32 * 4);
    std::string out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));  // colour and mask together
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out,
          static_cast<std::uint32_t>(size * size * 4 + maskRow * static_cast<std::size_t>(size)));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x)
            Put32(out, image.argb[static_cast<std::size_t>(y * size + x)]);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<unsigned char> row(maskRow, 0);
        for (int x = 0; x < size; ++x) {
            if ((image.argb[static_cast<std::size_t>(y * size + x)] >> 24) == 0) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
        out.append(reinterpret_cast<const char*>(row.data()), row.size());
    }
    return out;
}

}  // namespace

void WriteResourceScript(std::ostream& out, const std::string& iconFile) {
    out << "// Written at build time from the program's resource definitions.\n"
        << "#pragma code_page(65001)\n"
        << "LANGUAGE 0x11, 0x1\n\n"
        << IDR_MAINFRAME << " ICON " << Quoted(iconFile.c_str()) << "\n\n";
    for (UINT id : {IDD_ABOUTBOX, IDD_NORMALIZE_DIALOG}) {
        if (const DialogTemplate* dialog = ProgramResources().dialog(id)) WriteDialog(out, *dialog);
    }
    out << "STRINGTABLE\nBEGIN\n";
    if (const char* text = ProgramResources().string(IDS_ABOUTBOX)) {
        out << "    " << IDS_ABOUTBOX << ", " << Quoted(text) << "\n";
    }
    out << "END\n\n";
    WriteVersion(out, GetVersionResource());
}

bool WriteIconFile(std::ostream& out, unsigned iconId) {
    const IconResource* icon = ProgramResources().icon(iconId);
    if (!icon || icon->images.empty()) return false;
    std::string header;
    Put16(header, 0);
    Put16(header, 1);  // an icon
    Put16(header, static_cast<unsigned>(icon->images.size()));
    std::string images;
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * icon->images.size());
    for (const IconImage& image : icon->images) {
        const std::string bytes = IconImageBytes(image);
        header += static_cast<char>(image.size >= 256 ? 0 : image.size);
        header += static_cast<char>(image.size >= 256 ? 0 : image.size);
        header += '\0';  // no palette
        header += '\0';
        Put16(header, 1);
        Put16(header, 32);
        Put32(header, static_cast<std::uint32_t>(bytes.size()));
        Put32(header, offset + static_cast<std::uint32_t>(images.size()));
        images += bytes;
    }
    out << header << images;
    return static_cast<bool>(out);
}
