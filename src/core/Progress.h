#pragma once
// The progress of one long operation (a scan, a covers database export, an
// export, a CDDB batch...) and the request to stop it.  The operation counts
// into it from whatever thread it runs on; the window (or the command-line
// tool) reads it from another and may ask it to stop.  Every member is safe
// to use from any thread.
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>

// Thrown inside an operation that was asked to stop; the operation catches
// it at its top and leaves the files and the catalogue as they were.
struct ECancelled : std::exception {
    const char* what() const noexcept override { return "Cancelled"; }
};

class TProgress {
  public:
    // The number of items the operation expects; 0 while it is not known.
    void SetTotal(int64_t total) { total_.store(total, std::memory_order_relaxed); }
    int64_t Total() const { return total_.load(std::memory_order_relaxed); }

    void Advance(int64_t count = 1) { done_.fetch_add(count, std::memory_order_relaxed); }
    void SetDone(int64_t done) { done_.store(done, std::memory_order_relaxed); }
    int64_t Done() const { return done_.load(std::memory_order_relaxed); }

    // What the operation works on now ("Reading covers.cdb"), for a status line.
    void SetStep(std::string step) {
        std::lock_guard<std::mutex> lock(stepMutex_);
        step_ = std::move(step);
    }
    std::string Step() const {
        std::lock_guard<std::mutex> lock(stepMutex_);
        return step_;
    }

    void Cancel() { cancelRequested_.store(true, std::memory_order_relaxed); }
    bool CancelRequested() const { return cancelRequested_.load(std::memory_order_relaxed); }
    // Called by the operation between items.
    void ThrowIfCancelled() const {
        if (CancelRequested()) throw ECancelled();
    }

  private:
    std::atomic<int64_t> total_{0};
    std::atomic<int64_t> done_{0};
    std::atomic<bool> cancelRequested_{false};
    mutable std::mutex stepMutex_;
    std::string step_;
};
