#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace railscen {

inline constexpr std::string_view kScenarioLineName = "VELARO-CUSTRA ";
inline constexpr std::string_view kScenarioTrainName = "R 40817";

// The names of every file a run writes, built by plain concatenation: the blank that ends
// the line name stays in every name. The line and train names are the scenario's
// Windows-1252 text; the file names hold the same characters on every system (UTF-8 bytes on
// POSIX, wide characters on Windows), whatever code page the system runs in.
struct FileNames {
    std::filesystem::path line_description;
    std::filesystem::path train_description;
    std::filesystem::path notes_sheet;
    std::filesystem::path slowdown_form;
    std::filesystem::path timetable_sheet;
    std::filesystem::path plan_file;
    std::filesystem::path scenario_file;
    std::filesystem::path cell_file;
};

FileNames file_names(std::string_view line_name, std::string_view train_name);

// Why a line or train name cannot stand in a file name, or empty when it can: a path separator
// ("/" or "\\"), a NUL or another control byte, a character that Windows refuses in file names
// (<>:"|?*), or the whole name "." or "..". Such a name would put files into another folder or
// make a name that one of the systems cannot create.
std::string name_problem(std::string_view name);

}  // namespace railscen
