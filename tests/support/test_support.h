#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "loader/description_source.h"
#include "model/run.h"

namespace railscen::testing {

using railscen::MemorySource;

// Joins lines with CR LF after each.
std::string lines(std::initializer_list<std::string_view> rows);

// A line description of the given length: the general section, then the object rows.
std::string line_text(std::initializer_list<std::string_view> object_rows,
                      std::string_view length = "105500");

// A train description: "[generale]", the rows, "[fine]".
std::string train_text(std::initializer_list<std::string_view> rows);

// A rolling-stock file of one train whose run can be worked out by hand: one 100 t unit
// pulling 100 kN at every speed up to 250 km/h, with no rotating mass and no resistance,
// braking with 1 m/s^2; the train's id is TEST.
std::string hand_worked_stock();

// The line the hand-worked train runs on: 20 km, level and straight, boards of 200 km/h from
// 100 m on.
std::string hand_worked_line();

// A station row of a train text. The first station (at 0 m) is the origin, the others stops
// (dwell seconds > 0) or passings; time is the row's "H,M,S", "0,0,0" for none.
std::string station_row(std::int64_t metres, int category, int dwell, std::string_view time,
                        std::string_view name);

// Loads line and train texts into a fresh run (memorizza_dati after a slot reset).
Run load(const std::string& line, const std::string& train, std::int32_t with_plan = 1);

// A fresh empty folder under the system's temporary folder, removed on destruction.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

std::string read_bytes(const std::filesystem::path& path);

// The names of the entries in folder, sorted.
std::vector<std::string> folder_listing(const std::filesystem::path& folder);

}  // namespace railscen::testing
