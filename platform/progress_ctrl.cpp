// SPDX-License-Identifier: MIT
#include "progress_ctrl.h"

#include <algorithm>
#include <climits>

void CProgressCtrl::SetRange32(std::uint32_t lower, std::uint32_t upper) {
    lower_ = lower;
    upper_ = upper;
    if (view_) view_->Show(upper_, position_);
}

void CProgressCtrl::SetPos(std::uint32_t position) {
    position_ = position;
    if (view_) view_->Show(upper_, position_);
}

void CProgressCtrl::Attach(ProgressBarView* view) {
    view_ = view;
    if (view_) view_->Show(upper_, position_);
}

ScaledProgress ScaleForIntBar(std::uint32_t upper, std::uint32_t position) {
    unsigned shift = 0;
    while ((upper >> shift) > static_cast<std::uint32_t>(INT_MAX)) ++shift;
    const std::uint32_t scaledUpper = upper >> shift;
    const std::uint32_t scaledPosition = std::min(position >> shift, scaledUpper);
    return {static_cast<int>(scaledUpper), static_cast<int>(scaledPosition)};
}
