#pragma once
// Error codes of the sound layer and their texts, as the player shows them.
#include <stdexcept>
#include <string>

enum TSoundErrorCode : int {
    SoundErrNone = 0,
    SoundErrBusy = 1,
    SoundErrUninitialized = 2,
    SoundErrInit = 3,
    SoundErrAllocated = 4,
    SoundErrPlay = 5,
    SoundErrOutputFormat = 6,
    SoundErrCooperativeLevel = 7,
    SoundErrCreateBuffer = 8,
    SoundErrFileNotFound = 9,
    SoundErrFileFormat = 10,
    SoundErrFileBad = 11,
    SoundErrMemory = 12,
    SoundErrVersion = 13,
    SoundErrInvalidParam = 14,
    SoundErrNoEax = 15,
    SoundErrChannelAlloc = 16,
    SoundErrRecord = 17,
    SoundErrMediaPlayer = 18,
};

// The user-visible text of an error code; "Unknown error" for other codes.
std::string SoundErrorText(int code);

// Raised inside the sound layer when a file cannot be opened; the layer turns
// it into its last error code.
class TSoundError : public std::runtime_error {
  public:
    TSoundError(int code, const std::string& detail) : std::runtime_error(detail), code_(code) {}
    int Code() const { return code_; }

  private:
    int code_;
};
