// SPDX-License-Identifier: MIT
// The open-file dialog on its own platform: the system's common dialog,
// read back from the Explorer layout it writes into its buffer.
#include <string>
#include <vector>

#include "native_window.h"
#include "win32_window.h"

namespace {

// The framework's hook: the dialog comes up centred on its owner.
UINT_PTR CALLBACK CenterOnOwner(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE) {
        CenterWindow(::GetParent(hook));
    }
    return 0;
}

}  // namespace

namespace backend {

bool ChooseFilesToOpen(NativeWindow* owner, const OpenFileRequest& request,
                       std::vector<std::string>& paths) {
    if (request.bufferSize == 0) return false;
    // The system's list: each name and its patterns ended by a zero byte, and one more at the end.
    std::string filter;
    for (const FileFilter& f : request.filters) filter += f.name + '\0' + f.patterns + '\0';
    if (!filter.empty()) filter += '\0';
    // The caller's size: a selection that does not fit it fails with
    // FNERR_BUFFERTOOSMALL, and nothing is chosen then.
    std::vector<char> buffer(request.bufferSize, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = WindowHandleOf(owner);
    ofn.hInstance = ::GetModuleHandleA(nullptr);
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    // A hooked dialog is resizable only when asked to be.
    ofn.Flags = request.flags | OFN_ENABLEHOOK | OFN_ENABLESIZING;
    ofn.lpfnHook = &CenterOnOwner;
    if (!::GetOpenFileNameA(&ofn)) return false;
    // One choice: the whole path. Several: the folder, then each name.
    if (ofn.nFileOffset == 0 || buffer[ofn.nFileOffset - 1] != '\0') {
        paths.emplace_back(buffer.data());
        return true;
    }
    std::string folder(buffer.data());
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    for (std::size_t at = ofn.nFileOffset; at < buffer.size() && buffer[at] != '\0';) {
        const std::string name(buffer.data() + at);
        paths.push_back(folder + name);
        at += name.size() + 1;
    }
    return !paths.empty();
}

}  // namespace backend
