#include "core/PumpEvents.h"

namespace {
std::function<void()>& Hook() {
    static std::function<void()> hook;
    return hook;
}
}  // namespace

int ProgressTotal = 0;
int ProgressCount = 0;

void PumpEvents() {
    if (Hook()) Hook()();
}

void SetPumpEventsHook(std::function<void()> hook) {
    Hook() = std::move(hook);
}
