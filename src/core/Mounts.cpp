#include "core/Mounts.h"

#include <filesystem>
#include <system_error>

#include "core/FileSystem.h"
#include "core/Ucommon.h"

namespace {
// Fields are separated by single blanks; blanks, tabs, newlines and
// backslashes inside them are written as "\" and three octal digits.
std::string UnescapeOctal(std::string_view field) {
    std::string result;
    result.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string_view::npos) {
                result += static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) |
                                            (digits[2] - '0'));
                i += 3;
                continue;
            }
        }
        result += field[i];
    }
    return result;
}

// Blank-separated fields; blanks inside a field are escaped.
std::vector<std::string> SplitFields(std::string_view line) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> fields;
    for (std::string field; in >> field;) fields.push_back(std::move(field));
    return fields;
}

// mountinfo line: id parent major:minor root mount-point options [optional
// fields...] - fstype source super-options
bool ParseMountLine(std::string_view line, MountEntry& entry) {
    const auto fields = SplitFields(line);
    if (fields.size() < 5) return false;
    size_t separator = 5;
    while (separator < fields.size() && fields[separator] != "-") ++separator;
    if (separator + 1 >= fields.size()) return false;  // no file-system type
    entry.mountPoint = UnescapeOctal(fields[4]);
    entry.fsType = UnescapeOctal(fields[separator + 1]);
    entry.source = separator + 2 < fields.size() ? UnescapeOctal(fields[separator + 2]) : "";
    return true;
}
}  // namespace

std::vector<MountEntry> ParseMountTable(std::string_view text) {
    std::vector<MountEntry> table;
    for (std::string_view line : SplitLines(text)) {
        MountEntry entry;
        if (ParseMountLine(line, entry)) table.push_back(std::move(entry));
    }
    return table;
}

std::vector<MountEntry> ReadMountTable(const std::string& path) {
    // No table (or an unreadable one) means nothing is mounted.
    try {
        return ParseMountTable(ReadWholeFile(path));
    } catch (const std::system_error&) {
        return {};
    }
}

bool IsOpticalFileSystem(std::string_view fsType) {
    return SameTextAscii(fsType, "iso9660") || SameTextAscii(fsType, "udf");
}

const MountEntry* MountOf(const std::vector<MountEntry>& table, std::string_view path) {
    const MountEntry* best = nullptr;
    for (const auto& entry : table) {
        const bool holds = SamePath(path, entry.mountPoint) ||
                           SamePath(ExcludeTrailingSeparator(path), entry.mountPoint) ||
                           IsPathUnder(path, entry.mountPoint);
        // Later entries of the same mount point hide earlier ones.
        if (holds && (!best || entry.mountPoint.size() >= best->mountPoint.size())) best = &entry;
    }
    return best;
}

bool RunningFromCd(const std::string& programFolder, const std::string& mountTablePath) {
    // Mount points are real paths: resolve links in the folder's path first.
    std::error_code ec;
    auto real = std::filesystem::weakly_canonical(programFolder, ec);
    const auto table = ReadMountTable(mountTablePath);
    const MountEntry* mount = MountOf(table, ec ? programFolder : real.string());
    return mount && IsOpticalFileSystem(mount->fsType);
}
