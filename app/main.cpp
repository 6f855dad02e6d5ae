// SPDX-License-Identifier: MIT
#include "normalize_app.h"

CNormalizeApp theApp;

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
