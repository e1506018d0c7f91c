#include "gui/shell/UpdateCheck.h"

#include <chrono>
#include <ctime>

#include "core/Settings.h"
#include "gui/common/Version.h"

namespace {
constexpr int kDaysBetweenChecks = 7;
constexpr long kTimeoutMs = 5000;
}  // namespace

int DayNumber(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days date =
        year_month_day{std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
    const sys_days origin = year_month_day{std::chrono::year(2000), January, std::chrono::day(1)};
    return static_cast<int>((date - origin).count());
}

int TodayDayNumber() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

TUpdateCheckResult CheckForUpdate(TSettings& settings, int today, const THttpGet& get) {
    TUpdateCheckResult result;
    if (!settings.CheckUpdates || settings.Mavelo.empty()) return result;
    if (today - settings.LastCheck <= kDaysBetweenChecks) return result;
    result.requested = true;
    const HttpResult answer = get(settings.Mavelo + "/version/latest.txt", kTimeoutMs);
    if (answer.status != 200) return result;
    settings.LastCheck = today;
    result.latest = answer.body;
    result.newerVersion = answer.body != kVersionText;
    return result;
}

std::string SiteWithoutScheme(const std::string& address) {
    const auto scheme = address.find("://");
    return scheme == std::string::npos ? address : address.substr(scheme + 3);
}
