// SPDX-License-Identifier: MIT
// Resource and control ids shared by the resources and the application.
#pragma once

constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDS_ABOUTBOX = 101;
constexpr unsigned IDD_NORMALIZE_DIALOG = 102;
constexpr unsigned IDR_MAINFRAME = 128;

constexpr unsigned IDC_FILE = 1001;
constexpr unsigned IDC_MEASURE_PROGRESS = 1002;
constexpr unsigned IDC_SAVE_PROGRESS = 1003;
constexpr unsigned IDC_FILE_NAME = 1004;
constexpr unsigned IDC_STATUS = 1005;

constexpr unsigned IDM_ABOUTBOX = 0x0010;  // system menu command
