// SPDX-License-Identifier: MIT
#include "cstring.h"

#include <algorithm>

#include "mbcs.h"
#include "native_window.h"

namespace {

unsigned char FoldCase(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

}  // namespace

int CString::Find(char ch) const {
    for (std::size_t i = 0; i < bytes_.size();) {
        const std::size_t length = CharacterLength(bytes_.data() + i, bytes_.size() - i);
        if (length == 1 && bytes_[i] == ch) return static_cast<int>(i);
        i += length;
    }
    return -1;
}

int CString::ReverseFind(char ch) const {
    int found = -1;
    for (std::size_t i = 0; i < bytes_.size();) {
        const std::size_t length = CharacterLength(bytes_.data() + i, bytes_.size() - i);
        if (length == 1 && bytes_[i] == ch) found = static_cast<int>(i);
        i += length;
    }
    return found;
}

CString CString::Left(int count) const {
    const auto n = static_cast<std::size_t>(std::clamp(count, 0, GetLength()));
    return CString(bytes_.substr(0, n));
}

CString CString::Right(int count) const {
    const auto n = static_cast<std::size_t>(std::clamp(count, 0, GetLength()));
    return CString(bytes_.substr(bytes_.size() - n));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    const auto from = static_cast<std::size_t>(std::clamp(first, 0, GetLength()));
    const auto n =
        static_cast<std::size_t>(std::clamp(count, 0, GetLength() - static_cast<int>(from)));
    return CString(bytes_.substr(from, n));
}

int CString::CompareNoCase(LPCTSTR other) const {
    const std::string b = other ? other : "";
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < bytes_.size() && j < b.size()) {
        const std::size_t la = CharacterLength(bytes_.data() + i, bytes_.size() - i);
        const std::size_t lb = CharacterLength(b.data() + j, b.size() - j);
        if (la == 1 && lb == 1) {
            const int d = FoldCase(static_cast<unsigned char>(bytes_[i])) -
                          FoldCase(static_cast<unsigned char>(b[j]));
            if (d != 0) return d;
        } else {
            // A multi-byte character matches only the same bytes.
            const int d = bytes_.compare(i, la, b, j, lb);
            if (d != 0) return d;
        }
        i += la;
        j += lb;
    }
    return (i < bytes_.size()) - (j < b.size());
}

BOOL CString::LoadString(UINT id) {
    bytes_.clear();
    return backend::LoadStringResource(id, bytes_) && !bytes_.empty() ? TRUE : FALSE;
}
