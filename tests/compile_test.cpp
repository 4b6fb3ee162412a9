#include <gtest/gtest.h>

#include "compile/memorizza_percorso.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "output/binary_files.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::MemorySource;
using testing::read_bytes;
using testing::TempFolder;
using testing::train_text;

const FileNames kNames = file_names(kScenarioLineName, kScenarioTrainName);

TrackCell cell_record(const std::string& file, std::int64_t i) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(file.data()) + i * 15;
    auto i16 = [&](int o) { return static_cast<std::int16_t>(b[o] | (b[o + 1] << 8)); };
    return TrackCell{b[0], i16(1), i16(3), i16(5), i16(7), b[9], b[10], b[11], b[12], b[13], b[14]};
}

// A small scenario: two stations, signals, one slowdown with markers, code rows.
const std::string kLine = line_text(
    {"pendenza,   0,    2", "indicatori_vmax,  3000,  60,  60,  60,  1,  ,  ,  ,  0"}, "20000");
const std::string kTrain = train_text({
    "velocita,   0,    60",
    "aderenza,   0,    100",
    "stazione,  1000,  12,  200,  1, 0, 0,  1,1,0,  2,1,1,    60,  16,40, 0, PRIMA",
    "stazione,  15000,  4,  400,  1, 0, 0,  1,1,0,  2,1,1,    0,  17,10, 0, SECONDA",
    "rallentamento,  10000,  60,  500,  1,  1,  0",
    "segnale,    8400,   2, 3, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   10700,   1, 2, 1,  0, 0,    1,  1,0,0, 0",
    "abbattimento,   4000,   270",
});

TEST(Compile, WholeScenarioIntoTheCellFile) {
    TempFolder dir;
    railscen::Run run = make_run();
    MemorySource source(kLine, kTrain);
    const CompileOutcome outcome = memorizza_percorso(run, 1, source, dir.path());
    EXPECT_EQ(run.error_code, 0);
    EXPECT_EQ(outcome.fatal, std::nullopt);
    EXPECT_EQ(outcome.written,
              (std::vector<std::string>{kNames.plan_file, kNames.scenario_file, kNames.cell_file}));
    const std::string cells = read_bytes(dir.path() / kNames.cell_file);
    ASSERT_EQ(cells.size(), 15u * 541);  // (20000 + 7000) / 50 = 540

    // Layers everywhere: speed 60 / 5, adhesion 100, gradient 2 + 100.
    auto with_layers = [](TrackCell c) {
        c.speed_limit = 12;
        c.adhesion = 100;
        c.gradient = 102;
        return c;
    };
    struct Expected {
        std::int64_t index;
        TrackCell cell;
    };
    const Expected expected[] = {
        {1, with_layers({.param1 = 5121, .param2 = 2244})},
        // Zone 900..1100: stop cell 21, approach marks 81 to 84 in cells 20 to 17.
        {21, with_layers({.kind = kStationStop, .param1 = 1})},
        {20, with_layers({.approach = 81})},
        {17, with_layers({.approach = 84})},
        {61,
         with_layers(
             {.kind = kSpeedBoard, .param1 = 1200, .param2 = 1200, .param3 = 1200, .param4 = 10})},
        {80, with_layers({.kind = kCodeDrop, .param1 = 270})},
        // The signal 8400 (cell 169) stands within 20 cells of the warning point 177:
        // a drop point goes in front of it.
        {169, with_layers({.kind = kSignal, .param1 = 30, .param4 = 6})},
        {168, with_layers({.kind = kCodeDrop, .param1 = 180})},
        {177, with_layers({.kind = kSlowdownWarning, .param1 = 60})},
        {176, with_layers({.kind = kSlowdownMarker, .param1 = 1})},
        {173, with_layers({.kind = kSlowdownMarker, .param1 = 4})},
        {201, with_layers({.kind = kSlowdownStart, .param1 = 60, .param3 = 1})},
        // The signal at 215 marks its approach over the end cell and the drop point.
        {211, with_layers({.kind = kSlowdownEnd, .param1 = 60, .param3 = 1, .approach = 42})},
        // Rule B windows before the start 201, rule C at 209, rule D before the signal 215.
        {196, with_layers({.kind = kCodeDrop, .param1 = 180})},
        {190, with_layers({.kind = kCodeDrop, .param1 = 180})},
        {183, with_layers({.kind = kCodeDrop, .param1 = 180})},
        {209, with_layers({.kind = kCodeDrop, .param1 = 180, .approach = 43})},
        {215, with_layers({.kind = kSignal, .param1 = 21, .param2 = 10, .param4 = 4})},
        {214, with_layers({.kind = kCodeDrop, .param1 = 180})},
        {303, with_layers({.kind = kStationStop, .param1 = 2})},
        {537, with_layers({})},
        {538, TrackCell{}},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(cell_record(cells, e.index), e.cell) << "cell " << e.index;
    }
}

TEST(Compile, FatalMarkerErrorsWriteNothing) {
    struct Case {
        const char* row;
        std::int32_t fatal;
    };
    // A signal at 0 m sets param1 of cell 1; a slowdown at 0 m of speed 0 only its param2.
    for (const Case c : {Case{"segnale, 0, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0", 1250},
                         Case{"rallentamento, 0, 0, 100, 0, 0, 5", 1251}}) {
        TempFolder dir;
        railscen::Run run = make_run();
        MemorySource source(kLine, train_text({c.row}));
        const CompileOutcome outcome = memorizza_percorso(run, 1, source, dir.path());
        EXPECT_EQ(outcome.fatal, c.fatal) << c.row;
        EXPECT_TRUE(outcome.written.empty());
        EXPECT_TRUE(testing::folder_listing(dir.path()).empty()) << c.row;
    }
}

TEST(Compile, WithoutAPlanTheEarlierPlanFileStays) {
    TempFolder dir;
    write_file(dir.path() / kNames.plan_file, std::string("earlier"));
    railscen::Run run = make_run();
    MemorySource source(kLine, kTrain);
    const CompileOutcome outcome = memorizza_percorso(run, 0, source, dir.path());
    EXPECT_EQ(outcome.written, (std::vector<std::string>{kNames.scenario_file, kNames.cell_file}));
    EXPECT_EQ(read_bytes(dir.path() / kNames.plan_file), "earlier");
}

TEST(Compile, ACodeStillWritesTheFilesButNoGridWritesNothing) {
    TempFolder dir;
    railscen::Run run = make_run();
    MemorySource broken(kLine, train_text({"segnale, 1800, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0",
                                           "segnale, 1810, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0"}));
    EXPECT_EQ(memorizza_percorso(run, 1, broken, dir.path()).written.size(), 3u);
    EXPECT_EQ(run.error_code, 16);
    EXPECT_EQ(run.error_position, 1810);

    TempFolder empty;
    MemorySource no_line(std::nullopt, kTrain);
    EXPECT_TRUE(memorizza_percorso(run, 1, no_line, empty.path()).written.empty());
    EXPECT_EQ(run.error_code, 101);
    EXPECT_TRUE(testing::folder_listing(empty.path()).empty());
}

TEST(Compile, ScenarioFileCarriesStationsAndStamps) {
    railscen::Run run = make_run();
    MemorySource source(kLine, kTrain);
    compile_in_memory(run, 1, source);
    const Bytes sim = encode_scenario_file(run.slots);
    EXPECT_EQ(sim.size(), 2958u + 5 + 7 + 14 + 7);
    EXPECT_EQ(run.slots[85].word1, 610);
    EXPECT_EQ(run.slots[85].time, 31775);
    EXPECT_EQ(run.slots[2].text, "SECONDA");
    EXPECT_EQ(run.slots[2].time, 17 * 3600 + 10 * 60);
}

}  // namespace
}  // namespace railscen
