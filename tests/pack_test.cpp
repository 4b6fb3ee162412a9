// Runs the built pack from a copy in an empty folder, as a user would.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "app/window.h"
#include "model/diagnostic.h"
#include "model/error_codes.h"
#include "model/file_names.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::read_bytes;
using testing::TempFolder;

const FileNames kNames = file_names(kScenarioLineName, kScenarioTrainName);

struct PackRun {
    int status = -1;
    std::string error_output;
};

PackRun run_pack_in(const std::filesystem::path& folder) {
    const auto program = folder / "scenario-pack";
    if (!std::filesystem::exists(program)) {
        std::filesystem::copy_file(SCENARIO_PACK_PATH, program);
    }
    const auto err = folder.parent_path() / (folder.filename().string() + ".stderr");
    const std::string command =
        "cd '" + folder.string() + "' && ./scenario-pack 2> '" + err.string() + "'";
    const int raw = std::system(command.c_str());
    PackRun result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_bytes(err)};
    std::filesystem::remove(err);
    return result;
}

std::map<std::string, std::string> folder_contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        if (e.is_regular_file() && e.path().filename() != "scenario-pack") {
            files[e.path().filename().string()] = read_bytes(e.path());
        }
    }
    return files;
}

std::size_t count_lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Pack, ARunLeavesExactlyTheSixFiles) {
    TempFolder dir;
    const PackRun run = run_pack_in(dir.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.error_output, "");

    const auto files = folder_contents(dir.path());
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) names.push_back(name);
    EXPECT_EQ(names,
              (std::vector<std::string>{
                  "VELARO-CUSTRA _R 40817.dat", "VELARO-CUSTRA _R 40817.sim",
                  "VELARO-CUSTRA _R 40817_note.txt", "VELARO-CUSTRA _R 40817_rallentamenti.txt",
                  "VELARO-CUSTRA _R 40817_scheda_treno.txt", "VELARO-CUSTRA _linea.dat"}));
    EXPECT_EQ(files.at(kNames.cell_file).size(), 33765u);
    EXPECT_EQ(files.at(kNames.plan_file).size(), 2249964u);
    EXPECT_EQ(files.at(kNames.notes_sheet).size(), 0u);
    EXPECT_EQ(files.at(kNames.slowdown_form).size(), 3281u);
    EXPECT_EQ(count_lines(files.at(kNames.slowdown_form)), 45u);
    EXPECT_EQ(files.at(kNames.timetable_sheet).size(), 4710u);
    EXPECT_EQ(count_lines(files.at(kNames.timetable_sheet)), 73u);

    // The scenario file: 2958 bytes plus the texts of the line and train names, 24 station
    // names and 15 sign texts; the cell file carries the marker 5121 at bytes 16 and 17.
    const std::string& sim = files.at(kNames.scenario_file);
    std::size_t texts = 0;
    std::size_t offset = 0;
    for (int slot = 0; slot < 87; ++slot) {
        const auto n = static_cast<std::size_t>(static_cast<std::uint8_t>(sim[offset + 14]) |
                                                (static_cast<std::uint8_t>(sim[offset + 15]) << 8));
        texts += n;
        offset += 34 + n;
    }
    EXPECT_EQ(offset, sim.size());
    EXPECT_EQ(sim.size(), 2958u + texts);
    EXPECT_EQ(files.at(kNames.cell_file).substr(16, 2), std::string("\x01\x14", 2));
}

TEST(Pack, ASecondRunOverLongerFilesLeavesTheSameBytes) {
    TempFolder first;
    ASSERT_EQ(run_pack_in(first.path()).status, 0);
    const auto expected = folder_contents(first.path());

    TempFolder second;
    for (const auto& [name, bytes] : expected) {
        std::ofstream(second.path() / name, std::ios::binary)
            << std::string(bytes.size() + 5000, 'x');
    }
    std::ofstream(second.path() / kNames.line_description) << std::string(40000, 'y');
    ASSERT_EQ(run_pack_in(second.path()).status, 0);
    EXPECT_EQ(folder_contents(second.path()), expected);
}

TEST(Pack, AFileThatCannotBeWrittenStopsTheRunWithStatusThree) {
    TempFolder dir;
    // A folder holding a file stands where the timetable sheet goes.
    std::filesystem::create_directories(dir.path() / kNames.timetable_sheet / "inside");
    const PackRun run = run_pack_in(dir.path());
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.error_output.find("scheda_treno.txt"), std::string::npos) << run.error_output;
    const auto files = folder_contents(dir.path());
    EXPECT_EQ(files.at(kNames.slowdown_form).size(), 3281u);
    EXPECT_FALSE(files.contains(kNames.cell_file));
}

TEST(Pack, TheFatalErrorBoxEndsTheProgramWithStatusTwo) {
    EXPECT_EXIT(errore("1250"), ::testing::ExitedWithCode(2), "^ Errore n\\. 1250\n$");
}

TEST(Pack, ScenarioCodesAreReportedInOneLine) {
    auto coded = [](std::int32_t code, std::optional<std::int32_t> position,
                    std::optional<std::uint8_t> occupant = {}, std::string reason = {}) {
        Diagnostic d;
        d.code = code;
        d.position = position;
        d.occupant = occupant;
        d.reason = std::move(reason);
        return d;
    };
    struct Case {
        Diagnostic d;
        std::string line;
    };
    const Case cases[] = {
        {coded(16, 800), "error 16: signal cell already occupied (at 800 m)"},
        {coded(16, 800, kSpeedBoard),
         "error 16: signal cell already occupied by a speed board (at 800 m)"},
        {coded(10, 800), "error 10: more stations than free scenario slots"},
        {coded(25, std::nullopt, std::nullopt, "\"4\x1bOO\" is not a whole number"),
         "error 25: unexpected failure while loading: \"4\\x1bOO\" is not a whole number"},
        {coded(99, std::nullopt), "error 99: unknown code"},
    };
    for (const Case& c : cases) EXPECT_EQ(one_line(c.d), c.line);
}

}  // namespace
}  // namespace railscen
