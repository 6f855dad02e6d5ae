// SPDX-License-Identifier: MIT
// The progress bar as the engine and the dialog use it: a range from 0 to a
// 32-bit bound (a byte count, or 100) and a position within it.
//
// The control keeps what it was given, so it works with no window at all;
// when a real bar is attached it passes every change on to it.
#pragma once

#include <cstdint>

// Set range and set position, as the common controls name them (where
// the system's headers have not named them already).
#ifndef PBM_SETRANGE32
constexpr unsigned PBM_SETRANGE32 = 0x0406;
constexpr unsigned PBM_SETPOS = 0x0402;
#endif

// What a toolkit's bar implements to be driven by a CProgressCtrl.
class ProgressBarView {
public:
    virtual ~ProgressBarView() = default;
    // The control's range (from 0) and position, whenever either changes.
    // upper is an unsigned byte count: a bar that counts in int must scale.
    virtual void Show(std::uint32_t upper, std::uint32_t position) = 0;
};

class CProgressCtrl {
public:
    // PBM_SETRANGE32: the lower bound is always 0 in this program.
    void SetRange32(std::uint32_t lower, std::uint32_t upper);
    // PBM_SETPOS
    void SetPos(std::uint32_t position);

    std::uint32_t GetLower() const { return lower_; }
    std::uint32_t GetUpper() const { return upper_; }
    std::uint32_t GetPos() const { return position_; }

    void Attach(ProgressBarView* view);
    ProgressBarView* GetView() const { return view_; }

private:
    std::uint32_t lower_ = 0;
    std::uint32_t upper_ = 100;
    std::uint32_t position_ = 0;
    ProgressBarView* view_ = nullptr;
};

// For bars whose range is an int: the (upper, position) pair scaled down by
// a power of two until upper fits, so no value ever turns negative.
struct ScaledProgress {
    int upper;
    int position;
};
ScaledProgress ScaleForIntBar(std::uint32_t upper, std::uint32_t position);
