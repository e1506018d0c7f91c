#pragma once
// Long operations started from a window run on a thread of their own, so
// that the window keeps painting and its progress and Cancel keep working.
#include <functional>

// Runs `work` on a worker thread while this (the window's) thread goes on
// with the window's events; returns once the work ended.  `work` must not
// touch widgets; what it reports goes through a TProgress.
void RunOffWindowThread(const std::function<void()>& work);
