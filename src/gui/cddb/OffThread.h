#pragma once
// FreeDB requests run on a thread of their own while the window keeps
// handling events, so that a slow server never freezes it.
#include <functional>

#include "freedb/Ufreedb.h"

// An HTTP GET that runs HttpGetWithin off the user-interface thread and lets
// events run until it ends.  When `stillWanted` turns false (the window was
// closed) the wait ends at once with status 0; the request finishes on its
// own within its time-out and its answer is dropped.
THttpGet OffThreadHttpGet(std::function<bool()> stillWanted = {});

// Runs `work` on a thread of its own and lets the window's events run (its
// repaints, a Cancel button, updates the work posts) until it ends.
void RunOffWindowThread(const std::function<void()>& work);
