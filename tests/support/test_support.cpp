#include "support/test_support.h"

#include <algorithm>
#include <fstream>
#include <random>

#include "loader/memorizza_dati.h"
#include "model/file_names.h"

namespace railscen::testing {

std::string lines(std::initializer_list<std::string_view> rows) {
    std::string out;
    for (std::string_view row : rows) {
        out += row;
        out += "\r\n";
    }
    return out;
}

std::string line_text(std::initializer_list<std::string_view> object_rows,
                      std::string_view length) {
    std::string out = lines({"[generale]"});
    out += "lunghezza percorso,    " + std::string(length) + "\r\n";
    out += lines({"progressiva chilometrica uno,    0,    -2000,    0",
                  "progressiva chilometrica due,    104250,    0,    1",
                  "progressiva chilometrica tre,    0,    0,    1", "[curve]"});
    for (std::string_view row : object_rows) {
        out += row;
        out += "\r\n";
    }
    out += "[fine]\r\n";
    return out;
}

std::string train_text(std::initializer_list<std::string_view> rows) {
    std::string out = lines({"[generale]"});
    for (std::string_view row : rows) {
        out += row;
        out += "\r\n";
    }
    out += "[fine]\r\n";
    return out;
}

Run load(const std::string& line, const std::string& train, std::int32_t with_plan) {
    Run run = make_run(kScenarioLineName, kScenarioTrainName, with_plan);
    reset_slots(run.slots);
    MemorySource source(line, train);
    memorizza_dati(run, source);
    return run;
}

TempFolder::TempFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("railscen-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> folder_listing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string hand_worked_stock() {
    return "schema: https://railtoolkit.org/schema/rolling-stock.json\n"
           "schema_version: \"2022.05\"\n"
           "trains:\n"
           "  - {id: TEST, name: Test unit, formation: [UNIT]}\n"
           "vehicles:\n"
           "  - id: UNIT\n"
           "    name: Unit\n"
           "    vehicle_type: multiple unit\n"
           "    length: 50\n"
           "    mass: 100\n"
           "    speed_limit: 250\n"
           "    a_braking: -1.0\n"
           "    rotation_mass: 1.0\n"
           "    tractive_effort: [[0, 100000], [100, 100000], [250, 100000]]\n";
}

std::string hand_worked_line() {
    return line_text({"indicatori_vmax,  100,  200,  200,  200,  0,  200,  200,  200,  0"},
                     "20000");
}

std::string station_row(std::int64_t metres, int category, int dwell, std::string_view time,
                        std::string_view name) {
    const bool origin = metres == 0;
    return "stazione,  " + std::to_string(metres) + ",  " + std::to_string(category) + ",  400,  " +
           (origin ? "0" : "1") + ", 0, 0,  1,1,0,  " + (origin ? "3" : "2") + ",1,1,  " +
           std::to_string(dwell) + ",  " + std::string(time) + ", " + std::string(name);
}

}  // namespace railscen::testing
