#pragma once

#include <string>
#include <string_view>

namespace railscen {

inline constexpr std::string_view kScenarioLineName = "VELARO-CUSTRA ";
inline constexpr std::string_view kScenarioTrainName = "R 40817";

// The names of every file a run writes, built by plain concatenation: the blank that ends
// the line name stays in every name.
struct FileNames {
    std::string line_description;
    std::string train_description;
    std::string notes_sheet;
    std::string slowdown_form;
    std::string timetable_sheet;
    std::string plan_file;
    std::string scenario_file;
    std::string cell_file;
};

FileNames file_names(std::string_view line_name, std::string_view train_name);

// Why a line or train name cannot stand in a file name, or empty when it can: a path separator
// ("/" or "\\"), a NUL or another control byte, a character that Windows refuses in file names
// (<>:"|?*), or the whole name "." or "..". Such a name would put files into another folder or
// make a name that one of the systems cannot create.
std::string name_problem(std::string_view name);

}  // namespace railscen
