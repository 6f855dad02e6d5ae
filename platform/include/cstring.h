// SPDX-License-Identifier: MIT
// The framework's string: bytes in the locale's multi-byte code page.
// Searches and case-insensitive comparisons go character by character
// (see mbcs.h); Left, Right and Mid count bytes.
#pragma once

#include "win_types.h"

#include <cstddef>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text) : bytes_(text ? text : "") {}  // NOLINT: as the framework's
    CString(std::string text) : bytes_(std::move(text)) {}   // NOLINT
    CString(const char* text, int length) : bytes_(text, static_cast<std::size_t>(length)) {}

    int GetLength() const { return static_cast<int>(bytes_.size()); }
    bool IsEmpty() const { return bytes_.empty(); }
    void Empty() { bytes_.clear(); }
    operator LPCTSTR() const { return bytes_.c_str(); }  // NOLINT
    LPCTSTR GetString() const { return bytes_.c_str(); }
    const std::string& Bytes() const { return bytes_; }

    // Index of the first / last character equal to the single byte ch, or -1.
    int Find(char ch) const;
    int ReverseFind(char ch) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    // <0, 0 or >0; single-byte letters compare without regard to case.
    int CompareNoCase(LPCTSTR other) const;

    // Loads a string resource; false (and empty) when there is none.
    BOOL LoadString(UINT id);

    CString& operator+=(const CString& other) {
        bytes_ += other.bytes_;
        return *this;
    }
    CString& operator+=(char ch) {
        bytes_ += ch;
        return *this;
    }
    friend CString operator+(CString a, const CString& b) { return a += b; }
    friend bool operator==(const CString& a, const CString& b) { return a.bytes_ == b.bytes_; }
    friend bool operator==(const CString& a, const char* b) { return a.bytes_ == (b ? b : ""); }

private:
    std::string bytes_;
};
