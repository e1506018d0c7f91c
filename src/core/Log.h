#pragma once
// The optional timing log mavelo.log in the program folder: one line per list
// load, list save and scan, appended with CR LF, no time stamp.  Nothing is
// written unless the "Log" setting turned it on.
#include <cstdint>
#include <string>

void SetLogEnabled(bool enabled);
bool LogEnabled();
// Appends the line to ProgramFolder() + "mavelo.log" (created when missing)
// when logging is on.  Throws std::system_error when the file cannot be written.
void WriteLog(const std::string& line);

// "Load, 120 list files, 1s 234ms"
std::string LogLineLoad(int albums, int64_t elapsedMs);
// "Save, 120 list files, 1s 234ms"
std::string LogLineSave(int albums, int64_t elapsedMs);
// "Scan, full, 12 directories, 3 list files, 0s 57ms" ("fast, " for a fast scan)
std::string LogLineScan(bool full, int directories, int albums, int64_t elapsedMs);
