// SPDX-License-Identifier: MIT
#include "file_dialog.h"

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "native_window.h"

namespace {

// "Name|patterns|Name|patterns||" into its entries.
std::vector<FileFilter> ParseFilter(const CString& filter) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : filter.Bytes()) {
        if (c == '|') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        filters.push_back({parts[i], parts[i + 1]});
    }
    return filters;
}

// As the system's open dialog does with a default extension: a name
// without an extension names the file with it when there is one, and
// otherwise stays as it was given. The system's own dialog has already done
// so; doing it again changes nothing there.
std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    const std::string name = path.substr(path.rfind(kPathSeparator) + 1);
    if (extension.empty() || name.empty() || name.find('.') != std::string::npos) return path;
    const std::string extended = path + '.' + extension;
    struct stat info {};
    return ::stat(extended.c_str(), &info) == 0 ? extended : path;
}

// Length of the zero-ended string at `at`, never past the end of the buffer.
std::size_t StringLengthAt(const char* buffer, std::size_t size, std::size_t at) {
    std::size_t n = 0;
    while (at + n < size && buffer[at + n] != '\0') ++n;
    return n;
}

}  // namespace

CFileDialog::CFileDialog(BOOL /*openFileDialog*/, LPCTSTR defaultExtension, LPCTSTR fileName,
                         DWORD flags, LPCTSTR filter, CWnd* parent)
    : filter_(filter), defaultExtension_(defaultExtension), parent_(parent) {
    m_ofn.Flags = flags | OFN_EXPLORER;
    m_ofn.lpstrFile = ownBuffer_;
    m_ofn.nMaxFile = sizeof ownBuffer_;
    m_ofn.lpstrDefExt = defaultExtension_.IsEmpty() ? nullptr : defaultExtension_.GetString();
    if (fileName) std::strncpy(ownBuffer_, fileName, sizeof ownBuffer_ - 1);
}

// The backend's dialog (or an automation's stand-in) names the files; they
// are laid out here as the system's dialog lays them out.
std::intptr_t CFileDialog::DoModal() {
    if (!m_ofn.lpstrFile || m_ofn.nMaxFile == 0) return IDCANCEL;
    OpenFileRequest request;
    request.filters = ParseFilter(filter_);
    request.defaultExtension = defaultExtension_.Bytes();
    request.multipleSelection = (m_ofn.Flags & OFN_ALLOWMULTISELECT) != 0;
    request.bufferSize = m_ofn.nMaxFile;
    request.flags = m_ofn.Flags;

    NativeWindow* ownerWindow = OwnerWindow(parent_, nullptr);
    if (ownerWindow) ownerWindow->Enable(false);
    std::vector<std::string> paths;
    const bool chosen = ChooseFilesOwnedBy(ownerWindow, request, paths);
    if (ownerWindow) ownerWindow->Enable(true);
    if (!chosen || paths.empty()) return IDCANCEL;
    for (std::string& path : paths) path = WithDefaultExtension(path, request.defaultExtension);
    return LayOut(paths) ? IDOK : IDCANCEL;
}

bool CFileDialog::LayOut(const std::vector<std::string>& paths) {
    std::string laidOut;
    if (paths.size() == 1) {
        laidOut = paths[0] + '\0';
    } else {
        // The dialog chooses within one folder.
        const CString first(paths[0]);
        const std::string folder = first.Left(first.ReverseFind(kPathSeparator)).Bytes();
        // A root keeps its separator ("/" or "C:\\" and so on), as the system writes it.
        const bool root = folder.empty() || folder.back() == ':';
        laidOut = (root ? folder + kPathSeparator : folder) + '\0';
        for (const std::string& path : paths) {
            const CString p(path);
            if (p.Left(p.ReverseFind(kPathSeparator)).Bytes() != folder) return false;
            laidOut += p.Mid(p.ReverseFind(kPathSeparator) + 1).Bytes() + '\0';
        }
    }
    laidOut += '\0';
    if (laidOut.size() > m_ofn.nMaxFile) {
        m_ofn.lpstrFile[0] = '\0';
        return false;
    }
    std::memcpy(m_ofn.lpstrFile, laidOut.data(), laidOut.size());
    return true;
}

POSITION CFileDialog::GetStartPosition() const {
    return m_ofn.lpstrFile && m_ofn.lpstrFile[0] ? 1 : 0;
}

CString CFileDialog::GetNextPathName(POSITION& position) const {
    const char* buffer = m_ofn.lpstrFile;
    const std::size_t size = m_ofn.nMaxFile;
    if (!buffer || position == 0) return CString();
    const std::size_t folderLength = StringLengthAt(buffer, size, 0);
    const CString folder(buffer, static_cast<int>(folderLength));
    // A single choice: the first string is the whole path.
    if (folderLength + 1 >= size || buffer[folderLength + 1] == '\0') {
        position = 0;
        return folder;
    }
    std::size_t at = position == 1 ? folderLength + 1 : position;
    const std::size_t nameLength = StringLengthAt(buffer, size, at);
    CString path = folder;
    const int lastSeparator = folder.ReverseFind(kPathSeparator);
    if (lastSeparator != folder.GetLength() - 1) path += kPathSeparator;
    path += CString(buffer + at, static_cast<int>(nameLength));
    at += nameLength + 1;
    position = (at < size && buffer[at] != '\0') ? at : 0;
    return path;
}
