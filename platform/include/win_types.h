// SPDX-License-Identifier: MIT
// The small vocabulary of the original platform that the application speaks:
// integer types, message and command ids, flags.
#pragma once

#include <cstdint>

#if defined(_WIN32)  // the vocabulary: the system's own, or the stand-in's below

// On its own platform the program speaks the system's vocabulary itself:
// the ANSI calls, the real handles and constants.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

constexpr char kPathSeparator = '\\';

#else

using BOOL = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LPCTSTR = const char*;
using LPTSTR = char*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

constexpr UINT LOWORD(WPARAM w) { return static_cast<UINT>(w & 0xFFFF); }
constexpr UINT HIWORD(WPARAM w) { return static_cast<UINT>((w >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(UINT low, UINT high) {
    return static_cast<WPARAM>((low & 0xFFFF) | (high & 0xFFFF) << 16);
}

// Window messages.
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_ICONERASEBKGND = 0x0027;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_DROPFILES = 0x0233;

constexpr UINT BN_CLICKED = 0;

constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// Commands.
constexpr UINT IDOK = 1;
constexpr UINT IDCANCEL = 2;
constexpr UINT SC_CLOSE = 0xF060;

// Menus.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;

// Message boxes.
constexpr UINT MB_OK = 0x0000;

// System metrics.
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;

// Open-file dialog flags.
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_LONGNAMES = 0x00200000;

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// An icon loaded from the resources; the backend gives it meaning.
struct IconResource;
using HICON = const IconResource*;

// A drop of files from the file manager.
struct DropList;
using HDROP = DropList*;

constexpr char kPathSeparator = '/';

// The system's metrics, as the backend knows them.
int GetSystemMetrics(int index);

#endif

// The framework's own command for help (its F1).
constexpr UINT ID_HELP = 0xE146;

// A rectangle that knows its size, as the framework's.
struct CRect : RECT {
    CRect() : RECT{} {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};
