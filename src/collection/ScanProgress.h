#pragma once
#include <atomic>
#include <exception>

// The progress of a scan that runs on another thread, and the request to
// stop it: written by the scan, read (and cancelled) by the window thread.
struct TScanProgress {
    std::atomic<int> total{0};  // folders to walk, 0 until counted
    std::atomic<int> done{0};   // folders walked
    std::atomic<bool> cancelRequested{false};
};

// Thrown by a scan that was asked to stop.
struct EScanCancelled : std::exception {
    const char* what() const noexcept override { return "Scan cancelled"; }
};
