#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/run.h"

namespace railscen::cli {

// Something check finds suspicious although the compile accepts it.
struct Warning {
    SourceFile file;
    int line;    // 1-based
    int column;  // 1-based
    std::string message;
};

// Timed stations (slot time non-zero) that the timetable reaches sooner than the line speed
// limits allow, running every 50 m cell at its limit with no acceleration.
std::vector<Warning> timetable_warnings(const Run& run, std::string_view train_text);

// Record lines whose keyword field matches no keyword but lies close to one.
std::vector<Warning> spelling_warnings(std::string_view text, SourceFile file);

// Mountains that run past the grid and curves that run past the plan: the compile writes
// nothing beyond either, so their ends are lost.
std::vector<Warning> stretch_warnings(const Run& run, std::string_view line_text);

}  // namespace railscen::cli
