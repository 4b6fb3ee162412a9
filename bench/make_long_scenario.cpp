// make_long_scenario LENGTH DIR: writes a valid line description and train description of
// LENGTH metres (10000 to 1000000) into DIR, under the stored scenario's names.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "long_scenario.h"
#include "model/file_io.h"
#include "model/file_names.h"

int main(int argc, char** argv) {
    using namespace railscen;
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_long_scenario LENGTH DIR\n");
        return 2;
    }
    try {
        const auto length = static_cast<std::int32_t>(std::stol(argv[1]));
        const bench::LongScenario scenario = bench::make_long_scenario(length);
        const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
        const std::filesystem::path dir = argv[2];
        write_file(dir / names.line_description, scenario.line_text);
        write_file(dir / names.train_description, scenario.train_text);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_long_scenario: %s\n", e.what());
        return 2;
    }
}
