// SPDX-License-Identifier: MIT
// write-resource-script FOLDER: writes FOLDER/varnola.rc and FOLDER/varnola.ico,
// the Windows program's resources, from the one definition in res/. Runs on
// the build machine while the Windows program is cross-built.
#include <cstdio>
#include <fstream>
#include <string>

#include "resource_ids.h"
#include "resource_script.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write-resource-script FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string iconFile = folder + "/varnola.ico";
    std::ofstream icon(iconFile, std::ios::binary | std::ios::trunc);
    if (!WriteIconFile(icon, IDR_MAINFRAME) || !icon.flush()) {
        std::fprintf(stderr, "write-resource-script: cannot write %s\n", iconFile.c_str());
        return 1;
    }
    std::ofstream script(folder + "/varnola.rc", std::ios::binary | std::ios::trunc);
    WriteResourceScript(script, iconFile);
    if (!script.flush()) {
        std::fprintf(stderr, "write-resource-script: cannot write %s/varnola.rc\n", folder.c_str());
        return 1;
    }
    return 0;
}
