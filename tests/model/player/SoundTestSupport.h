#pragma once
// Shared set-up of the sound tests: the fixture files and a sound system on
// SDL's dummy or disk driver, and waiting for a condition without ever
// asserting on elapsed time.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "player/SoundSystem.h"

inline std::string Fixture(const std::string& name) {
    return std::string(MAVELO_TEST_DATA) + "/player/" + name;
}

inline bool StartSound(TSoundSystem& sound, const std::string& driver = "dummy") {
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    return sound.Init({TSoundSystem::OutputTypeOf(driver), 0, 4}).empty() && sound.Available();
}

// Polls until the condition holds; generous, as the machine may be loaded.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutSeconds = 30) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}
