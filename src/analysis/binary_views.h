#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/plan.h"
#include "model/scenario_slot.h"
#include "model/track_cell.h"

namespace railscen::analysis {

// The three binary files a compile writes.
enum class BinaryKind { kScenario, kCells, kPlan };

// Told apart by name: "..._linea.dat" is a plan file, "... .dat" a cell file, ".sim" a
// scenario file.
std::optional<BinaryKind> kind_from_name(std::string_view file_name);
// The --as words: "sim", "cells", "plan".
std::optional<BinaryKind> kind_from_word(std::string_view word);

// Cell file: the table lists every non-empty cell (an object, a parameter, a signal time or an
// approach mark) with its kind named, its values decoded and its layers; the JSON lists every
// cell that way.
std::string cells_table(const std::vector<TrackCell>& cells);
std::string cells_json(const std::vector<TrackCell>& cells);
std::string cell_words(const std::vector<TrackCell>& cells, std::size_t index);
std::string cell_json(const std::vector<TrackCell>& cells, std::size_t index);

// Scenario file: every slot with its fields named and its role.
std::string slots_table(const Slots& slots);
std::string slots_json(const Slots& slots);
std::string slot_words(const Slots& slots, std::size_t index);
std::string slot_json(const Slots& slots, std::size_t index);

// What a slot holds: "station", "sign text", "progressive", "route", "line", "train" or
// "empty"; and the station slots in order.
std::string slot_role(const Slots& slots, std::size_t index);
std::vector<std::size_t> station_slots(const Slots& slots);

// Plan file: one row per route metre.
std::string plan_table(const Plan& plan);
std::string plan_json(const Plan& plan);

}  // namespace railscen::analysis
