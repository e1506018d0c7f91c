#pragma once
// Long operations of the model (scans, list loads and saves, cover caching)
// call PumpEvents in their loops so that the windows repaint and the progress
// timers tick.  The GUI sets the hook; without one it does nothing.
#include <functional>

void PumpEvents();
void SetPumpEventsHook(std::function<void()> hook);

// Progress of the long catalogue operation that runs now: the expected number
// of items (0 when unknown) and the items done.  Read by the progress timers.
extern int ProgressTotal;
extern int ProgressCount;
