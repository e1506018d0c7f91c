#pragma once
// The product name and version text shown in the title bar, the about, splash
// and new-version windows, and compared with the update site's answer.
#include <string>

inline constexpr const char* kProductName = "Mavelo";
inline constexpr const char* kVersionText = "v1.00.01";

// "Mavelo v1.00.01 [<file or noFileText>]" plus " *" when the list has
// unsaved changes.
inline std::string MainTitleText(const std::string& currentFile, const std::string& noFileText,
                                 bool modified) {
    std::string title = std::string(kProductName) + " " + kVersionText + " [";
    title += currentFile.empty() ? noFileText : currentFile;
    title += "]";
    if (modified) title += " *";
    return title;
}
