#pragma once
// The weekly check for a newer version: at most once in eight days, the
// update site's "/version/latest.txt" is fetched and compared, whole and
// exactly, with this program's version text.  An empty site address means no
// check.  Failures are silent: the check is simply tried at the next start.
#include <functional>
#include <string>

#include "core/Ucommon.h"

struct TSettings;

// Whole days from 2000-01-01 to the date.
int DayNumber(int year, int month, int day);
// DayNumber of today's local date.
int TodayDayNumber();

struct TUpdateCheckResult {
    bool requested = false;     // the site was asked
    bool newerVersion = false;  // it answered with another version text
    std::string latest;         // its answer
};

using THttpGet = std::function<HttpResult(const std::string& url, long timeoutMs)>;

// Uses "CheckUpdates", "Mavelo" and "LastCheck"; sets "LastCheck" to `today`
// when the site answered with status 200.
TUpdateCheckResult CheckForUpdate(TSettings& settings, int today, const THttpGet& get);

// The site address without its scheme ("http://") for showing it.
std::string SiteWithoutScheme(const std::string& address);
