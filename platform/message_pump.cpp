#include "message_pump.h"

namespace {

MessageSource installedSource = nullptr;
std::function<void()> pumpHook;
int depth = 0;

}  // namespace

void PumpWaitingMessages() {
    ++depth;
    if (pumpHook) pumpHook();
    if (installedSource) installedSource();
    --depth;
}

void InstallMessageSource(MessageSource source) { installedSource = source; }

void SetPumpHook(std::function<void()> hook) { pumpHook = std::move(hook); }

int PumpDepth() { return depth; }
