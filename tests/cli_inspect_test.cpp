// railscen inspect (called in process) on the compiled stored scenario: words, tables, JSON that
// rebuilds the very bytes, and clear refusals of files of the wrong size or shape.

#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>

#include "analysis/binary_views.h"
#include "cli_tool.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "output/binary_files.h"

namespace railscen {
namespace {

using Json = nlohmann::json;
using testing::read_bytes;
using testing::TempFolder;
using testing::tool;

const FileNames kNames = file_names(kScenarioLineName, kScenarioTrainName);

class CliInspect : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TempFolder>();
        ASSERT_TRUE(testing::compile_stored_sources(path()));
    }
    static void TearDownTestSuite() { folder_.reset(); }
    static const std::filesystem::path& path() { return folder_->path(); }
    static testing::ToolRun inspect(const std::vector<std::string>& args) {
        std::vector<std::string> all = {"inspect"};
        all.insert(all.end(), args.begin(), args.end());
        return tool(path(), all);
    }

  private:
    static std::unique_ptr<TempFolder> folder_;
};

std::unique_ptr<TempFolder> CliInspect::folder_;

TEST_F(CliInspect, ExplainsASignalAndASpeedBoardInWords) {
    const testing::ToolRun signal = inspect({kNames.cell_file, "--cell", "122"});
    EXPECT_EQ(signal.status, 0);
    EXPECT_EQ(signal.out.substr(0, signal.out.find("  layers")),
              "cell 122: signal, for a record at 6025 to 6075 m\n"
              "  left head type 2, aspects 4, 0, 0\n"
              "  right head type 2, aspects 2, 0, 0\n"
              "  rapp 0, signal time 255\n");
    const testing::ToolRun board = inspect({kNames.cell_file, "--cell", "56"});
    EXPECT_EQ(board.out.substr(0, board.out.find("  layers")),
              "cell 56: speed board, for a record at 2725 to 2775 m\n"
              "  100/100/105 both sides, stripes 0/0\n");
    // The approach layer is named with its mark: the station's four cells before its stop.
    EXPECT_NE(inspect({kNames.cell_file, "--cell", "6"})
                  .out.find("  approach mark 1 of an object with code 8 (layer value 81)\n"),
              std::string::npos);
}

TEST_F(CliInspect, TablesNameKindsAndDecodeValues) {
    const std::string cells = inspect({kNames.cell_file}).out;
    EXPECT_EQ(cells.substr(0, cells.find('\n')), "cell file: 2251 cells (0 to 2250)");
    const std::string row_122 = cells.substr(cells.find("\n  122 ") + 1);
    EXPECT_EQ(row_122.substr(0, row_122.find('\n')).substr(7),
              "signal                       42      0      0      8  255    0    0   150    -1   "
              "70  aspects 4/2 0/0 0/0, heads 2/2, rapp 0, time 255");
    EXPECT_NE(cells.find("100/100/105 both sides, stripes 0/0"), std::string::npos);
    EXPECT_NE(cells.find("left 30/30/30, right none, stripes 0/0"), std::string::npos);

    const std::string slots = inspect({kNames.scenario_file}).out;
    EXPECT_NE(slots.find("\"VELARO-CUSTRA \""), std::string::npos);
    EXPECT_NE(slots.find("Sant\xC3\xA8rio"), std::string::npos);  // 0xE8 shown as UTF-8
    EXPECT_EQ(inspect({kNames.scenario_file, "--slot", "86"}).out,
              "slot 86: train \"R 40817\"; signal repetition 500 to 104250 m with 4 codes; sand "
              "100; clock 16:39:30\n");

    const std::string plan = inspect({kNames.plan_file}).out;
    EXPECT_EQ(plan.substr(0, plan.find("       3 ")),
              "plan file: 112501 rows, one per route metre (x east, y north, metres; - empty)\n"
              "     row                x                y\n"
              "       0                0                0\n"
              "       1                0                1\n"
              "       2            0.000            2.000\n");
    EXPECT_NE(plan.find("  112500                -                -\n"), std::string::npos);
}

// Windows-1252 bytes back from the UTF-8 of the JSON (the texts use Latin-1 letters only).
std::string to_1252(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0xC2 && c <= 0xC3 && i + 1 < utf8.size()) {
            out += static_cast<char>(((c & 0x1F) << 6) |
                                     (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

TEST_F(CliInspect, JsonRebuildsEveryByteOfAllThreeFiles) {
    const Json slots_json = Json::parse(inspect({kNames.scenario_file, "--json"}).out);
    Slots slots;
    for (const Json& s : slots_json.at("slots")) {
        ScenarioSlot& slot = slots.at(s.at("index").get<std::size_t>());
        slot.category = s.at("category");
        slot.start = s.at("start");
        slot.finish = s.at("finish");
        slot.position = s.at("position");
        slot.flag = s.at("flag");
        slot.text = to_1252(s.at("text"));
        slot.word1 = s.at("word1");
        slot.word2 = s.at("word2");
        slot.word3 = s.at("word3");
        slot.word4 = s.at("word4");
        slot.word5 = s.at("word5");
        slot.byte1 = s.at("byte1");
        slot.byte2 = s.at("byte2");
        slot.byte3 = s.at("byte3");
        slot.byte4 = s.at("byte4");
        slot.time = s.at("time");
    }
    const Bytes sim = encode_scenario_file(slots);
    EXPECT_TRUE(std::string(sim.begin(), sim.end()) == read_bytes(path() / kNames.scenario_file));

    const Json cells_json = Json::parse(inspect({kNames.cell_file, "--json"}).out);
    Cells cells = Cells::for_route(105500);
    ASSERT_EQ(cells_json.at("cell_count"), cells.size());
    for (const Json& c : cells_json.at("cells")) {
        TrackCell& cell = cells[c.at("index").get<std::int64_t>()];
        const Json& layers = c.at("layers");
        cell = TrackCell{c.at("kind"),          c.at("param1"),        c.at("param2"),
                         c.at("param3"),        c.at("param4"),        c.at("signal_time"),
                         layers.at("approach"), layers.at("mountain"), layers.at("speed_limit"),
                         layers.at("gradient"), layers.at("adhesion")};
    }
    const Bytes dat = encode_cell_file(cells);
    EXPECT_TRUE(std::string(dat.begin(), dat.end()) == read_bytes(path() / kNames.cell_file));
    const Json cell_122 = cells_json.at("cells").at(122);
    EXPECT_EQ(cell_122.at("signal").at("left_aspects"), Json({4, 0, 0}));
    EXPECT_EQ(cell_122.at("signal").at("right_aspects"), Json({2, 0, 0}));
    EXPECT_EQ(cells_json.at("cells").at(56).at("speed_board").at("right_kmh"),
              Json({100, 100, 105}));

    const Json plan_json = Json::parse(inspect({kNames.plan_file, "--json"}).out);
    std::vector<TaggedValue> columns[2];
    for (const Json& point : plan_json.at("points")) {
        for (int axis = 0; axis < 2; ++axis) {
            const Json& v = point.at(axis);
            TaggedValue value;
            if (v.is_number_integer()) value = v.get<std::int16_t>();
            if (v.is_number_float()) value = v.get<double>();
            columns[axis].push_back(value);
        }
    }
    const Bytes lin = encode_plan_file(Plan::from_values(columns[0], columns[1]));
    EXPECT_TRUE(std::string(lin.begin(), lin.end()) == read_bytes(path() / kNames.plan_file));
}

TEST_F(CliInspect, FilesOfTheWrongSizeOrShapeAreRefusedClearly) {
    write_file(path() / "short.dat", std::string(14, '\0'));
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"short.dat"},
         "railscen inspect: short.dat: cell file: holds 14 bytes, not a whole number of 15-byte "
         "cells\n"},
        {{kNames.scenario_file, "--as", "cells"},
         "railscen inspect: " + kNames.scenario_file.string() +
             ": cell file: holds 3813 bytes, not a whole number of 15-byte cells\n"},
        {{kNames.cell_file, "--as", "sim"},
         "railscen inspect: " + kNames.cell_file.string() +
             ": scenario file: ends at byte 33765 inside a value of 20500 bytes starting at byte "
             "30884\n"},
        {{kNames.cell_file, "--as", "plan"},
         "railscen inspect: " + kNames.cell_file.string() +
             ": plan file: unknown type code 25606 at byte 12\n"},
        {{"report.txt"},
         "railscen inspect: cannot tell from its name what report.txt holds; say it with --as "
         "sim, cells or plan\n"},
        {{"absent.sim"}, "railscen inspect: absent.sim: no such file\n"},
        {{kNames.cell_file, "--cell", "2251"},
         "railscen inspect: cell 2251 lies beyond the last cell 2250\n"},
        {{kNames.scenario_file, "--cell", "3"}, "railscen inspect: --cell needs a cell file\n"},
        {{kNames.cell_file, "--slot", "3"}, "railscen inspect: --slot needs a scenario file\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        const testing::ToolRun run = inspect(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.error);
        EXPECT_EQ(run.out, "");
    }
}

TEST(CliInspectWords, TextsFromTheFileReachTheTerminalEscaped) {
    Slots slots;
    reset_slots(slots);
    slots[80].text = "PONTE\x1b]0;owned\x07";
    EXPECT_EQ(analysis::slot_words(slots, 80),
              "slot 80: sign board text \"PONTE\\x1b]0;owned\\x07\"\n");
}

}  // namespace
}  // namespace railscen
