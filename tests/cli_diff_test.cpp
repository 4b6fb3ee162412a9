// railscen diff: what changed between two versions of a scenario, from their texts in the
// author's words or from their compiled files; exit 0 alike, 1 differ, 2 trouble.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli_tool.h"
#include "model/file_io.h"

namespace railscen {
namespace {

using testing::TempFolder;
using testing::tool;

using Rows = std::vector<std::string>;

const Rows kLineRows = {
    "pendenza,  0,  0",
    "pendenza,  950,  1",
    "pendenza,  3000,  -2",
    "curvas3,  500,  150",
    "curvad4,  800,  650",
    "montagna,  5000,  5500,  11",
    "indicatori_vmax,  2750,  100,  100,  105,  0,  100,  100,  105,  0",
    "cartello_indicatore,  4000,  (PONTE)",
};

const Rows kTrainRows = {
    "orologio,    16              39            30 ",
    "velocita,   0,    30",
    "velocita,   900,    90",
    "aderenza,   0,    100",
    "stazione,  0,  8,  400,  0, 0, 0,  1,1,0,  3,1,1,  1,  16,40, 0, ORIGINE",
    "stazione,  7000,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  16,55, 0, CASTAGNETO",
    "segnale,    1800,   2, 3, 0,  0, 0,    0,  0,0,0, 0",
    "abbattimento,     600,   280",
};

std::string text_of(const std::string& head, const Rows& rows) {
    std::string out = head;
    for (const std::string& row : rows) out += row + "\r\n";
    return out + "[fine]\r\n";
}

std::string line_of(const Rows& rows, const char* length = "105500") {
    return text_of(std::string("[generale]\r\nlunghezza percorso,    ") + length +
                       "\r\n"
                       "progressiva chilometrica uno,    0,    -2000,    0\r\n[curve]\r\n",
                   rows);
}

std::string train_of(const Rows& rows) {
    return text_of("[generale]\r\n", rows);
}

// The rows with row i replaced (by nothing when empty), or one row added when i is past them.
Rows edited(Rows rows, std::size_t i, const std::string& row) {
    if (i >= rows.size()) {
        rows.push_back(row);
    } else if (row.empty()) {
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
        rows[i] = row;
    }
    return rows;
}

// Two versions of a scenario, each in its own folder under the pack's names.
struct Versions {
    TempFolder folder;
    Versions(const std::string& line_a, const std::string& train_a, const std::string& line_b,
             const std::string& train_b) {
        for (const auto& [side, line, train] :
             {std::tuple{"a", line_a, train_a}, std::tuple{"b", line_b, train_b}}) {
            std::filesystem::create_directories(folder.path() / side);
            write_file(folder.path() / side / "L_linea.txt", line);
            write_file(folder.path() / side / "L_T-.txt", train);
        }
    }
    testing::ToolRun diff(std::vector<std::string> args = {}) const {
        args.insert(args.begin(), {"diff", "a", "b"});
        return tool(folder.path(), args);
    }
};

TEST(CliDiff, EachChangeOfTheTextsInTheAuthorsWords) {
    struct Case {
        const char* name;
        std::string line;
        std::string train;
        std::string expected;  // the whole output
    };
    const std::string line = line_of(kLineRows);
    const std::string train = train_of(kTrainRows);
    const Case cases[] = {
        {"none", line, train, ""},
        {"board speeds",
         line_of(edited(kLineRows, 6,
                        "indicatori_vmax,  2750,  100,  100,  110,  0,  100,  100,  105,  0")),
         train, "2,750 m: speed board changed: left 100/100/105 km/h -> 100/100/110 km/h\n"},
        {"board moved",
         line_of(edited(kLineRows, 6,
                        "indicatori_vmax,  2850,  100,  100,  105,  0,  100,  100,  105,  0")),
         train, "2,850 m: speed board moved: from 2,750 m\n"},
        {"station moved", line,
         train_of(edited(kTrainRows, 5,
                         "stazione,  7050,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  16,55, 0, "
                         "CASTAGNETO")),
         "7,050 m: station \"CASTAGNETO\" moved: from 7,000 m to 7,050 m\n"},
        {"station renamed", line,
         train_of(edited(kTrainRows, 5,
                         "stazione,  7000,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  16,55, 0, "
                         "CASTELLO")),
         "7,000 m: station \"CASTELLO\" renamed: name \"CASTAGNETO\" -> \"CASTELLO\"\n"},
        {"station retimed", line,
         train_of(edited(kTrainRows, 5,
                         "stazione,  7000,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  16,56, 30, "
                         "CASTAGNETO")),
         "7,000 m: station \"CASTAGNETO\" retimed: time 16:55:00 -> 16:56:30\n"},
        // Moved and renamed: still the second station, told field by field in words.
        {"station moved and renamed", line,
         train_of(edited(kTrainRows, 5,
                         "stazione,  7050,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  16,55, 0, "
                         "CASTELLO")),
         "7,050 m: station \"CASTELLO\" renamed, moved: name \"CASTAGNETO\" -> \"CASTELLO\"; "
         "from 7,000 m to 7,050 m\n"},
        {"station moved, renamed, retimed and lengthened", line,
         train_of(edited(kTrainRows, 5,
                         "stazione,  7100,  12,  500,  1, 0, 0,  2,1,0,  2,1,1,  30,  16,56, 0, "
                         "CASTELLO")),
         "7,100 m: station \"CASTELLO\" renamed, moved, retimed, changed: name \"CASTAGNETO\" -> "
         "\"CASTELLO\"; from 7,000 m to 7,100 m; time 16:55:00 -> 16:56:00; dwell 0 s -> 30 s; "
         "length 400 m -> 500 m\n"},
        {"station's table fields by their names", line,
         train_of(edited(kTrainRows, 5,
                         "stazione,  7000,  13,  400,  0, 0, 0,  2,1,0,  2,1,7,  0,  16,55, 0, "
                         "CASTAGNETO")),
         "7,000 m: station \"CASTAGNETO\" changed: category 12 -> 13; flag 1 -> 0; word5 1 -> "
         "7\n"},
        {"station added", line,
         train_of(edited(kTrainRows, 99,
                         "stazione,  12000,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  30,  17,5, 0, "
                         "BORGO")),
         "12,000 m: station \"BORGO\" added: timed 17:05:00, dwell 30 s, category 12, length 400 "
         "m, flag 1, byte4 0, byte3 0, word1 2, word2 1, byte1 0, word3 2, word4 1, word5 1\n"},
        {"gradient", line_of(edited(kLineRows, 1, "pendenza,  950,  2")), train,
         "950-3,000 m: gradient changed: 1 per mille -> 2 per mille\n"},
        {"curve", line_of(edited(kLineRows, 4, "curvad3,  800,  650")), train,
         "800-1,450 m: curve changed: right curve of radius 1,000 m -> right curve of radius "
         "2,500 m\n"},
        {"curve longer", line_of(edited(kLineRows, 4, "curvad4,  800,  700")), train,
         "1,450-1,500 m: curve added: straight -> right curve of radius 1,000 m\n"},
        {"train limit", line, train_of(edited(kTrainRows, 2, "velocita,   900,    100")),
         "900-112,550 m: train speed limit changed: 90 km/h -> 100 km/h\n"},
        {"signal added", line,
         train_of(edited(kTrainRows, 99, "segnale,    3000,   2, 4, 0,  0, 0,    2,  2,0,0, 255")),
         "3,000 m: signal added: sx 2, s1 4, s2 0, s3 0, rapp 0, dx 2, d1 2, d2 0, d3 0, tempo "
         "255\n"},
        {"sign board removed", line_of(edited(kLineRows, 7, "")), train,
         "4,000 m: sign board removed: text \"(PONTE)\"\n"},
        {"sign text with a control byte",
         line_of(edited(kLineRows, 7, "cartello_indicatore,  4000,  (PONTE\x1b[2J)")), train,
         "4,000 m: sign board changed: text \"(PONTE)\" -> \"(PONTE\\x1b[2J)\"\n"},
        {"slowdown added", line,
         train_of(edited(kTrainRows, 99, "rallentamento,  4500,  60,  500,  1,  0,  0")),
         "4,500 m: slowdown added: speed 60 km/h, length 500 m, f_tt 1, f_ta 0, d_v 0 (between "
         "ORIGINE and CASTAGNETO)\n"},
        {"clock", line, train_of(edited(kTrainRows, 0, "orologio,  16  40  0")),
         "clock changed: 16:39:30 -> 16:40:00\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Versions v(line, train, c.line, c.train);
        const testing::ToolRun run = v.diff();
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, c.expected);
        EXPECT_EQ(run.status, c.expected.empty() ? 0 : 1);
    }
}

// Several changes at once: settings first, then by metre; the four-file form says the same.
TEST(CliDiff, ChangesComeInTheOrderOfTheLine) {
    const Rows line_b = edited(edited(kLineRows, 6, ""), 1, "pendenza,  950,  3");
    const Rows train_b =
        edited(edited(kTrainRows, 7, "abbattimento,     600,   270"), 0, "orologio,  16  0  0");
    const Versions v(line_of(kLineRows), train_of(kTrainRows), line_of(line_b, "106000"),
                     train_of(train_b));
    const std::string expected =
        "line length changed: 105,500 m -> 106,000 m\n"
        "clock changed: 16:39:30 -> 16:00:00\n"
        "600 m: code row changed: value 280 -> 270\n"
        "950-3,000 m: gradient changed: 1 per mille -> 3 per mille\n"
        "2,750 m: speed board removed: left 100/100/105 km/h, left stripes 0, right 100/100/105 "
        "km/h, right stripes 0\n";
    const testing::ToolRun run = v.diff();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, expected);
    const testing::ToolRun files = tool(
        v.folder.path(), {"diff", "a/L_linea.txt", "a/L_T-.txt", "b/L_linea.txt", "b/L_T-.txt"});
    EXPECT_EQ(files.status, 1);
    EXPECT_EQ(files.out, expected);

    const nlohmann::json doc = nlohmann::json::parse(v.diff({"--format", "json"}).out);
    EXPECT_EQ(doc["compared"], "texts");
    EXPECT_EQ(doc["equal"], false);
    ASSERT_EQ(doc["changes"].size(), 5u);
    EXPECT_TRUE(doc["changes"][0]["metres"].is_null());
    EXPECT_EQ(doc["changes"][3]["metres"], 950);
    EXPECT_EQ(doc["changes"][3]["end_metres"], 3000);
    EXPECT_EQ(doc["changes"][3]["subject"], "gradient");
    EXPECT_EQ(doc["changes"][4]["what"], "removed");
    EXPECT_EQ(doc["changes"][4]["text"].get<std::string>() + "\n",
              expected.substr(expected.rfind("2,750 m")));
}

// Compiled folders: the slots field by field, the changed cells as stretches with their layers,
// the plan's largest deviation. Texts compiled on the way compare alike with their own files.
TEST(CliDiff, CompiledFoldersByTheirFiles) {
    const Rows train_b =
        edited(kTrainRows, 5,
               "stazione,  7050,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  16,55, 0, CASTAGNETO");
    const Rows line_b = edited(kLineRows, 4, "curvad3,  800,  650");
    const Versions v(line_of(kLineRows), train_of(kTrainRows), line_of(line_b), train_of(train_b));
    for (const char* side : {"a", "b"}) {
        std::filesystem::create_directories(v.folder.path() / (std::string(side) + "-out"));
        ASSERT_EQ(tool(v.folder.path(),
                       {"compile", std::string(side) + "/L_linea.txt",
                        std::string(side) + "/L_T-.txt", "-o", std::string(side) + "-out"})
                      .status,
                  0);
    }
    const testing::ToolRun run = tool(v.folder.path(), {"diff", "a-out", "b-out"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "");
    // The station's stop cell goes from 143 to 144 and its approach marks from 139-142 to
    // 140-143.
    const std::string head =
        "slot 2 (station \"CASTAGNETO\"): position 7,000 m -> 7,050 m; zone 6,800-7,200 m -> "
        "6,850-7,250 m\n"
        "cells 139-144 (6,876-7,175 m, 6 changed): object, approach\n"
        "plan: ";
    EXPECT_EQ(run.out.substr(0, head.size()), head) << run.out;
    EXPECT_NE(run.out.find("the largest deviation "), std::string::npos);

    const nlohmann::json doc = nlohmann::json::parse(
        tool(v.folder.path(), {"diff", "a-out", "b-out", "--format", "json"}).out);
    EXPECT_EQ(doc["compared"], "compiled");
    EXPECT_EQ(doc["equal"], false);
    ASSERT_EQ(doc["slots"].size(), 1u);
    EXPECT_EQ(doc["slots"][0]["slot"], 2);
    ASSERT_EQ(doc["cells"]["stretches"].size(), 1u);
    EXPECT_EQ(doc["cells"]["stretches"][0]["from_metres"], 6876);
    EXPECT_EQ(doc["cells"]["stretches"][0]["to_metres"], 7175);
    EXPECT_EQ(doc["cells"]["stretches"][0]["layers"], nlohmann::json({"object", "approach"}));
    // The tighter curve turns the line after 800 m: the end of the line moves by kilometres.
    EXPECT_GT(doc["plan"]["largest_deviation_metres"].get<double>(), 1000.0);
    EXPECT_GT(doc["plan"]["at_row"].get<int>(), 800);

    // A compiled folder and the texts it came from: alike.
    for (const auto& pair : {std::pair{"a", "a-out"}, std::pair{"b-out", "b"}}) {
        SCOPED_TRACE(pair.first);
        const testing::ToolRun same = tool(v.folder.path(), {"diff", pair.first, pair.second});
        EXPECT_EQ(same.status, 0) << same.out << same.err;
        EXPECT_EQ(same.out, "");
    }
    // --compiled compares texts by what they compile to.
    const testing::ToolRun compiled = tool(v.folder.path(), {"diff", "a", "b", "--compiled"});
    EXPECT_EQ(compiled.status, 1);
    EXPECT_EQ(compiled.out, run.out);
}

TEST(CliDiff, TroubleIsStatusTwo) {
    const std::string broken = train_of(
        edited(kTrainRows, 5,
               "stazione,  7025,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  16,55, 0, CASTAGNETO"));
    const Versions v(line_of(kLineRows), train_of(kTrainRows), line_of(kLineRows), broken);
    std::filesystem::create_directories(v.folder.path() / "empty");
    write_file(v.folder.path() / "plain.txt", "x");
    std::filesystem::create_directories(v.folder.path() / "two");
    for (const char* name : {"L_linea.txt", "L_T-.txt", "L_U-.txt"}) {
        write_file(v.folder.path() / "two" / name, "x");
    }
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const Case cases[] = {
        {{"diff", "a", "b"}, "railscen diff: \"b\" does not compile; nothing compared\n"},
        {{"diff", "a", "empty"},
         "railscen diff: \"empty\" holds no scenario: no description texts (NAME_linea.txt and "
         "NAME_TRAIN-.txt) and no scenario file (.sim)\n"},
        {{"diff", "two", "a"},
         "railscen diff: \"two\" holds 2 scenarios (\"L / T\", \"L / U\"): give the texts of each "
         "side as files\n"},
        {{"diff", "a", "plain.txt"},
         "railscen diff: \"plain.txt\" is no folder; give two folders, or the line and train "
         "texts of each side (four files)\n"},
        {{"diff", "a/L_linea.txt", "a/L_T-.txt", "b/L_linea.txt", "nothing.txt"},
         "\"nothing.txt\": No such file or directory\n"},
        {{"diff", "a", "b", "a"},
         "railscen diff: give two folders (A B) or four texts (A_LINE A_TRAIN B_LINE B_TRAIN)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const testing::ToolRun run = tool(v.folder.path(), c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        ASSERT_GE(run.err.size(), c.says.size());
        EXPECT_EQ(run.err.substr(run.err.size() - c.says.size()), c.says) << run.err;
    }
    // The side that does not compile says why, in compiler form.
    EXPECT_NE(tool(v.folder.path(), {"diff", "a", "b"}).err.find("error 8"), std::string::npos);
}

// The built tool, as a script would call it.
TEST(CliDiff, TheBuiltToolExitsAsDiffDoes) {
    const Versions v(line_of(kLineRows), train_of(kTrainRows), line_of(kLineRows),
                     train_of(edited(kTrainRows, 0, "orologio,  16  40  0")));
    EXPECT_EQ(testing::railscen(v.folder.path(), {"diff", "a", "a"}).status, 0);
    const testing::ToolRun differ = testing::railscen(v.folder.path(), {"diff", "a", "b"});
    EXPECT_EQ(differ.status, 1);
    EXPECT_EQ(differ.out, "clock changed: 16:39:30 -> 16:40:00\n");
    EXPECT_EQ(testing::railscen(v.folder.path(), {"diff", "a", "nowhere"}).status, 2);
}

}  // namespace
}  // namespace railscen
