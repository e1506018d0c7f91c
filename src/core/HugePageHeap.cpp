#include "core/HugePageHeap.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace {

constexpr std::string_view kSetting = "glibc.malloc.hugetlb";
// Set while the program starts itself again: the user's own GLIBC_TUNABLES.
constexpr const char* kBeforeRestart = "MAVELO_TUNABLES_BEFORE_RESTART";

// True unless the system has transparent huge pages turned off (or none).
bool HugePagesAvailable() {
    std::ifstream file("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    return std::getline(file, modes) && modes.find("[never]") == std::string::npos;
}

}  // namespace

std::string HugePageTunables(const char* current) {
    const std::string_view user = current ? current : "";
    if (user.find(kSetting) != std::string_view::npos) return {};
    std::string tunables(user);
    if (!tunables.empty()) tunables += ':';
    tunables += kSetting;
    tunables += "=1";
    return tunables;
}

void RestartWithHugePageHeap(char** argv) {
    // Started again: the C library has read the setting, and the programs
    // this one starts get the environment the user gave.
    if (const char* before = std::getenv(kBeforeRestart)) {
        if (*before)
            setenv("GLIBC_TUNABLES", before, 1);
        else
            unsetenv("GLIBC_TUNABLES");
        unsetenv(kBeforeRestart);
        return;
    }
    const char* current = std::getenv("GLIBC_TUNABLES");
    const std::string tunables = HugePageTunables(current);
    if (tunables.empty() || !HugePagesAvailable()) return;
    const bool had = current != nullptr;
    const std::string previous = had ? current : "";
    if (setenv(kBeforeRestart, previous.c_str(), 1) == 0 &&
        setenv("GLIBC_TUNABLES", tunables.c_str(), 1) == 0)
        execv("/proc/self/exe", argv);
    // Not started again: go on as before, with the environment as it was.
    unsetenv(kBeforeRestart);
    if (had)
        setenv("GLIBC_TUNABLES", previous.c_str(), 1);
    else
        unsetenv("GLIBC_TUNABLES");
}
