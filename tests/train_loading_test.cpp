#include <gtest/gtest.h>

#include "loader/memorizza_dati.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::lines;
using testing::MemorySource;
using testing::train_text;

const std::string kLine = line_text({});

struct Loaded {
    railscen::Run run;
    bool line_left = false;
    bool train_left = false;
};

Loaded load_train(const std::optional<std::string>& train, const std::string& line = kLine) {
    Loaded out{make_run(), false, false};
    MemorySource source(line, train);
    memorizza_dati(out.run, source);
    out.line_left = source.line_left();
    out.train_left = source.train_left();
    return out;
}

const TrackCell& cell(const Loaded& l, std::int64_t i) {
    return (*l.run.cells)[i];
}

// A station row with the given position, category and length; the other fields fixed.
std::string station(std::int32_t pos, int category, std::int32_t length, int byte3 = 0,
                    const std::string& name = "PAESE") {
    return "stazione,  " + std::to_string(pos) + ",  " + std::to_string(category) + ",  " +
           std::to_string(length) + ",  1, 1, " + std::to_string(byte3) +
           ",  1,1,0,  2,1,1,    0,  0,0,0, " + name;
}

struct CodeCase {
    const char* name;
    std::string train;
    std::int32_t code;
    std::int32_t position;
};

TEST(TrainLoading, EveryCodeWithItsPositionAndNoFileLeft) {
    std::string eighty_signs;
    const CodeCase cases[] = {
        {"row beyond the grid", train_text({"segnale, 112401, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0"}), 15,
         112401},
        {"station beyond the grid with its margin", train_text({station(111750, 4, 200)}), 15,
         111750},
        {"code row on a signal",
         train_text({"segnale, 1800, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0", "abbattimento, 1850, 280"}), 7,
         1850},
        {"station at 25 m, before its other fields are read", train_text({"stazione, 25"}), 8, 25},
        {"station length 450", train_text({station(5000, 4, 450)}), 9, 5000},
        {"zone ending at 100 m", train_text({station(0, 4, 200)}), 24, 0},
        {"zones 300 m apart", train_text({station(1000, 4, 200), station(1500, 4, 200)}), 22, 1500},
        {"signal on a station stop",
         train_text({station(1000, 4, 200), "segnale, 1000, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0"}), 16,
         1000},
        {"slowdown on a signal",
         train_text({"segnale, 10000, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0",
                     "rallentamento, 10000, 60, 500, 1, 1, 0"}),
         18, 10000},
        {"speed of 1278 km/h", train_text({"velocita, 0, 1278", "velocita, 900, 90"}), 25, 0},
        {"a clock hour beyond 16 bits", train_text({"orologio, 40000, 0, 0"}), 25, 0},
        {"a station category above 255", train_text({"stazione, 5000, 256, 200"}), 25, 0},
        {"a signal row cut short", "[generale]\r\nsegnale, 1800, 2, 3", 25, 0},
        {"missing train description", "", 25, 0},
        {"signal before the start of the grid",
         train_text({"segnale, -80, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0"}), 15, -80},
        {"code row before the start of the grid", train_text({"abbattimento, -30, 280"}), 15, -30},
        {"slowdown ending past the grid", train_text({"rallentamento, 100000, 60, 20000, 1, 0, 0"}),
         15, 100000},
        {"station time beyond 32 bits",
         train_text({"stazione,  5000,  4,  200,  1, 1, 0,  1,1,0,  2,1,1,    0,  999999,0,0, X"}),
         25, 0},
        {"station whose stop cell lies past the grid", train_text({station(111500, 8, 6000)}), 15,
         111500},
    };
    for (const CodeCase& c : cases) {
        const Loaded got = load_train(std::string_view(c.name) == "missing train description"
                                          ? std::nullopt
                                          : std::optional<std::string>(c.train));
        EXPECT_EQ(got.run.error_code, c.code) << c.name;
        EXPECT_EQ(got.run.error_position, c.position) << c.name;
        EXPECT_FALSE(got.line_left) << c.name;
        EXPECT_FALSE(got.train_left) << c.name;
    }
}

TEST(TrainLoading, AMissingTrainFilePointsAtNoRecord) {
    const Loaded l = load_train(std::nullopt);
    EXPECT_EQ(l.run.error_code, 25);
    ASSERT_NE(recorded_diagnostic(l.run), nullptr);
    EXPECT_EQ(recorded_diagnostic(l.run)->at, (SourceLocation{SourceFile::kTrain, 0, 0}));
    EXPECT_EQ(recorded_diagnostic(l.run)->reason, "train description missing");
    const Loaded cut_short = load_train("[generale]\r\nsegnale, 1800, 2, 3");
    const Diagnostic* d = recorded_diagnostic(cut_short.run);
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->at.has_value());
    EXPECT_EQ(d->at->file, SourceFile::kTrain);
    EXPECT_EQ(d->at->line, 2);
    EXPECT_EQ(d->reason,
              "the text ends inside a record, where a 32-bit number belongs: the signal is eleven "
              "whole numbers: posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo");
}

TEST(TrainLoading, GeneralSettingsAndTheClockWithBlanksOrCommas) {
    for (const char* clock :
         {"orologio,    16              39            30 ", "orologio, 16, 39, 30"}) {
        const Loaded l = load_train(lines(
            {"Regionale 40817", "autore@example.org", "", "[generale]", "numero vetture,    5",
             "percentuale massa frenata,    100", "sabbia,    100", clock, "[fine]"}));
        EXPECT_EQ(l.run.error_code, 0);
        const Slots& s = l.run.slots;
        EXPECT_EQ(s[84].position, 5);
        EXPECT_EQ(s[84].start, 100);
        EXPECT_EQ(s[86].word1, 100);
        EXPECT_EQ((std::array{s[86].word3, s[86].word4, s[86].word5}),
                  (std::array<std::int16_t, 3>{16, 39, 30}))
            << clock;
    }
}

TEST(TrainLoading, WithoutGeneraleNothingLoadsButTheTailsAreFilled) {
    const Loaded l = load_train(lines({"title", "numero vetture, 5", "[fine]"}));
    EXPECT_EQ(l.run.error_code, 0);
    EXPECT_EQ(l.run.slots[84].position, 0);
    EXPECT_FALSE(l.train_left);
    EXPECT_EQ(cell(l, 0).speed_limit, 0);
}

TEST(TrainLoading, SpeedAndAdhesionProfiles) {
    const Loaded l = load_train(
        train_text({"velocita,   0,    30", "velocita,     900,    90", "aderenza,   0,    100",
                    "aderenza,    2000,    70", "VELOCITAXYZ,  1000,  155"}));
    for (int i = 0; i <= 17; ++i) EXPECT_EQ(cell(l, i).speed_limit, 6) << i;
    EXPECT_EQ(cell(l, 18).speed_limit, 18);
    EXPECT_EQ(cell(l, 19).speed_limit, 18);
    EXPECT_EQ(cell(l, 20).speed_limit, 31);
    EXPECT_EQ(cell(l, 2247).speed_limit, 31);
    EXPECT_EQ(cell(l, 2248).speed_limit, 0);
    EXPECT_EQ(cell(l, 39).adhesion, 100);
    EXPECT_EQ(cell(l, 40).adhesion, 70);
    EXPECT_EQ(cell(l, 2247).adhesion, 70);
    EXPECT_EQ(cell(l, 2250).adhesion, 0);
}

TEST(TrainLoading, ProfilesStartAtZeroBeforeTheirFirstRow) {
    const Loaded l = load_train(train_text({"velocita,  500,  60", "aderenza,  500,  70"}));
    for (int i = 0; i <= 9; ++i) {
        EXPECT_EQ(cell(l, i).speed_limit, 0) << i;
        EXPECT_EQ(cell(l, i).adhesion, 0) << i;
    }
    EXPECT_EQ(cell(l, 10).speed_limit, 12);
    EXPECT_EQ(cell(l, 10).adhesion, 70);
}

TEST(TrainLoading, RowsOutOfOrderPushTheCursorsPastTheGridWithoutWritingThere) {
    std::string rows;
    for (int i = 0; i < 150; ++i) {
        rows += "aderenza,  100,  " + std::to_string(i) + "\r\nvelocita,  100,  " +
                std::to_string(5 * i) + "\r\n";
    }
    const Loaded l = load_train(train_text({rows}), line_text({}, "0"));
    EXPECT_EQ(l.run.error_code, 0);
    // Row r writes the value of row r - 1 into cell r + 1.
    EXPECT_EQ(cell(l, 140).adhesion, 138);
    EXPECT_EQ(cell(l, 139).speed_limit, 137);
    // The speed rows stop at the last cell index; the tail then writes that cell once.
    EXPECT_EQ(cell(l, 140).speed_limit, 149);
}

TEST(TrainLoading, TheFirstStationOfTheStoredTrain) {
    const Loaded l = load_train(train_text(
        {"STAZIONE,  0,  8,  400,  0, 0, 0,  1,1,0,  3,1,1,    1,  16,40, 0, VELARO SAN MARTINO"}));
    EXPECT_EQ(l.run.error_code, 0);
    const ScenarioSlot& s = l.run.slots[1];
    EXPECT_EQ(s.text, "VELARO SAN MARTINO");
    EXPECT_EQ((std::array{s.start, s.finish, s.position}), (std::array{-400, 400, 0}));
    EXPECT_EQ(s.category, 8);
    EXPECT_EQ(s.time, 16 * 3600 + 40 * 60);
    EXPECT_EQ(s.byte2, 1);
    EXPECT_EQ(cell(l, 7).kind, kStationStop);
    EXPECT_EQ(cell(l, 7).param1, 1);
    for (int b = 1; b <= 4; ++b) EXPECT_EQ(cell(l, 7 - b).approach, 80 + b) << b;
}

TEST(TrainLoading, StationZonesAndStopCellsByCategory) {
    struct Case {
        int category;
        int byte3;
        std::int32_t start, finish;
        bool stop, approach;
    };
    // The second station of a file at 10000 m, length 400.
    const Case cases[] = {
        {4, 0, 9800, 10200, true, true},    {4, 1, 9800, 10250, true, true},
        {5, 1, 9600, 10150, true, false},   {6, 0, 9600, 10150, true, false},
        {7, 1, 9600, 10400, true, true},    {25, 0, 9800, 10200, false, false},
        {26, 0, 9800, 10200, false, false}, {28, 1, 9800, 10250, false, false},
    };
    for (const Case& c : cases) {
        const Loaded l = load_train(
            train_text({station(1000, 4, 200), station(10000, c.category, 400, c.byte3, "B")}));
        ASSERT_EQ(l.run.error_code, 0) << c.category;
        const ScenarioSlot& s = l.run.slots[2];
        EXPECT_EQ(s.start, c.start) << c.category;
        EXPECT_EQ(s.finish, c.finish) << c.category;
        const std::int64_t stop = c.finish / 50 - 1;
        EXPECT_EQ(cell(l, stop).kind == kStationStop, c.stop) << c.category;
        EXPECT_EQ(cell(l, stop - 1).approach == 81, c.approach) << c.category;
        EXPECT_EQ(s.byte3, (c.category >= 5 && c.category <= 8) ? 0 : c.byte3) << c.category;
    }
}

TEST(TrainLoading, ZonesExactly350ApartPassAndTheStopReplacesAnObject) {
    // Zones 900..1100 and 1450..1650; the second stop cell 32 held a drop point.
    const Loaded l = load_train(
        train_text({"abbattimento, 1600, 280", station(1000, 4, 200), station(1550, 4, 200)}));
    EXPECT_EQ(l.run.error_code, 0);
    EXPECT_EQ(cell(l, 21).kind, kStationStop);
    EXPECT_EQ(cell(l, 21).param1, 1);
    EXPECT_EQ(cell(l, 32).kind, kStationStop);
    EXPECT_EQ(cell(l, 32).param1, 2);
}

TEST(TrainLoading, CodeRows) {
    const Loaded l =
        load_train(train_text({"abbattimento,     600,   280", "abbattimento,  1000,  0"}),
                   line_text({"montagna,  1000,  2000,  11"}));
    EXPECT_EQ(l.run.error_code, 0);
    EXPECT_EQ(cell(l, 12).kind, kCodeDrop);
    EXPECT_EQ(cell(l, 12).param1, 280);
    EXPECT_EQ(cell(l, 20).kind, kCodeDropNoValue);
    EXPECT_EQ(cell(l, 20).param1, 0);
    const Loaded on_spacer = load_train(train_text({"abbattimento,  1150,  -4"}),
                                        line_text({"montagna,  1000,  2000,  11"}));
    EXPECT_EQ(on_spacer.run.error_code, 0);
    EXPECT_EQ(cell(on_spacer, 23).kind, kCodeDropNoValue);
    EXPECT_EQ(cell(on_spacer, 23).param1, 0);
}

TEST(TrainLoading, NamesWithBlanksAndCommas) {
    const Loaded l =
        load_train(train_text({station(1000, 26, 200, 0, "SAN  PIETRO IN VALLE"),
                               station(5000, 26, 200, 0, "BORGO, numero vetture, 3")}));
    EXPECT_EQ(l.run.slots[1].text, "SAN  PIETRO IN VALLE");
    EXPECT_EQ(l.run.slots[2].text, "BORGO");
    EXPECT_EQ(l.run.slots[84].position, 3);
}

TEST(TrainLoading, AtMostTwoHyphenatedFieldsArePassedOver) {
    const Loaded l =
        load_train(train_text({"-", "-", "-", "numero vetture, 7", "- nota, - x", "sabbia, 9"}));
    EXPECT_EQ(l.run.error_code, 0);
    EXPECT_EQ(l.run.slots[84].position, 7);
    EXPECT_EQ(l.run.slots[86].word1, 9);
}

TEST(TrainLoading, StationsStopAtTheSignTextSlots) {
    std::string signs;
    for (int i = 0; i < 77; ++i) {
        signs += "cartello_indicatore,  " + std::to_string(20000 + 100 * i) + ",  (S)\r\n";
    }
    // Cursor 3 after 77 signs: stations may take slots 1 only; the second fails with 10.
    const Loaded l = load_train(
        train_text({station(1000, 26, 200), station(2000, 26, 200), station(3000, 26, 200)}),
        line_text({signs}));
    EXPECT_EQ(l.run.error_code, 10);
    EXPECT_EQ(l.run.slots[2].position, 2000);
    EXPECT_EQ(l.run.slots[4].text, "(S)");
}

TEST(TrainLoading, WithEveryTextSlotTakenNoStationOverwritesASignText) {
    std::string signs;
    for (int i = 0; i < 80; ++i) {
        signs += "cartello_indicatore,  " + std::to_string(20000 + 100 * i) + ",  (S)\r\n";
    }
    const Loaded l = load_train(train_text({station(1000, 26, 200)}), line_text({signs}));
    EXPECT_EQ(l.run.error_code, 10);
    EXPECT_EQ(l.run.slots[1].text, "(S)");
    EXPECT_EQ(l.run.slots[1].position, 0);
}

TEST(TrainLoading, ACodeFifteenLeftByTheLineStopsAtTheFirstSignal) {
    const Loaded l =
        load_train(train_text({"numero vetture, 5", "segnale, 1800, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0",
                               "segnale, 9000, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0"}),
                   line_text({"pendenza, 112401, 0"}));
    EXPECT_EQ(l.run.error_code, 15);
    EXPECT_EQ(l.run.error_position, 1800);
    EXPECT_EQ(cell(l, 37).kind, kSignal);  // encoded before the stop
    EXPECT_EQ(cell(l, 181).kind, kFree);
    EXPECT_EQ(l.run.slots[84].position, 5);
}

TEST(TrainLoading, ProgressivesNotOnFiftyMetresGiveCodeTwo) {
    const std::string line = lines({"[generale]", "lunghezza percorso, 1000",
                                    "progressiva chilometrica uno, 10, 5, 0", "[fine]"});
    const Loaded l = load_train(train_text({"numero vetture, 5"}), line);
    EXPECT_EQ(l.run.error_code, 2);
}

}  // namespace
}  // namespace railscen
