// SPDX-License-Identifier: MIT
#include <set>
#include <utility>

#include "native_window.h"

namespace {

std::set<BackendProgressBar*>& Waiting() {
    static std::set<BackendProgressBar*> waiting;
    return waiting;
}

}  // namespace

BackendProgressBar::~BackendProgressBar() { Waiting().erase(this); }

void BackendProgressBar::Show(std::uint32_t upper, std::uint32_t position) {
    const ScaledProgress value = ScaleForIntBar(upper, position);
    if (DrawsAtOnce(value)) {
        Waiting().erase(this);
        Draw(value);
        return;
    }
    waiting_ = value;
    Waiting().insert(this);
}

void ShowWaitingProgress() {
    for (BackendProgressBar* bar : std::exchange(Waiting(), {})) bar->Draw(bar->waiting_);
}
