#pragma once

// Where the train stops: one rule for the driver's timetable sheet and for the run of a real
// train over the scenario.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/run.h"

namespace railscen::analysis {

// A station the train stops at: one with a dwell and a stop cell. Stations of category 25 and
// above get no stop cell: the train passes them.
bool stops_at(std::int64_t dwell, int category);

// The slots of the stations the train's run stops at, in the order read: the first station,
// every later one it stops at, and the last; each beyond the one before. The stations are as
// many as the train text has station records.
std::vector<std::size_t> run_stop_slots(const std::vector<SourceRecord>& records,
                                        const Slots& slots);
std::vector<std::size_t> run_stop_slots(const Run& run);

}  // namespace railscen::analysis
