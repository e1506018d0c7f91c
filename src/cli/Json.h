#pragma once
// JSON text for the command-line tool's --json outputs.
#include <string>
#include <string_view>

// The text as a quoted JSON string.  Bytes that are not valid UTF-8 are taken
// as Windows-1252, so the output is always valid JSON.
std::string JsonString(std::string_view text);
