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

}  // namespace railscen
