// Where the train stops, decided once: the driver's timetable sheet stops where the run of a
// real train over the scenario stops.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/stops.h"
#include "compile/memorizza_percorso.h"
#include "model/line_list.h"
#include "paper/scenario_facts.h"
#include "paper/timetable_sheet.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"
#include "support/test_support.h"

namespace railscen::paper {
namespace {

struct Stop {
    std::int64_t metres = 0;
    std::int64_t dwell = 0;
    bool operator==(const Stop&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Stop& s) {
    return os << s.metres << " m (" << s.dwell << " s)";
}

TEST(StoredScenarioStops, TheSheetStopsWhereTheRunStops) {
    railscen::Run run = make_run();
    MemorySource source(list_bytes(stored_line_description()),
                        list_bytes(stored_train_description()));
    compile_in_memory(run, 1, source);
    ASSERT_EQ(run.error_code, 0);

    // The run's stops: the first station, each it stops at, the last (which has no dwell).
    const std::vector<std::size_t> slots = analysis::run_stop_slots(run);
    std::vector<Stop> by_run;
    for (const std::size_t slot : slots) {
        by_run.push_back(
            {run.slots[slot].position, slot == slots.back() ? 0 : run.slots[slot].byte2});
    }
    // The sheet's: its origin, its stops and its destination.
    std::vector<Stop> by_sheet;
    for (const SheetRow& row : timetable_sheet(run).rows) {
        if (row.form == TimeForm::kStop) by_sheet.push_back({row.metres, row.dwell});
        if (row.form == TimeForm::kDeparture || row.form == TimeForm::kArrival) {
            by_sheet.push_back({row.metres, 0});
        }
    }
    by_sheet.front().dwell = by_run.front().dwell;  // the origin's row shows a departure only
    std::vector<Stop> by_paper;
    for (const Station& s : run_stops(run)) by_paper.push_back({s.metres, s.dwell});

    EXPECT_EQ(by_sheet, by_run);
    EXPECT_EQ(by_paper, by_run);
    // The stored scenario has stations the train passes, so the rule has something to decide.
    EXPECT_GT(stations(run).size(), by_run.size());
    EXPECT_GE(by_run.size(), 3u);
}

}  // namespace
}  // namespace railscen::paper
