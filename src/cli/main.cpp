// railscen: the scenario authors' tool. Writes the stored scenario's sources, compiles and
// checks description texts, explains codes, decodes and draws compiled scenarios.

#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "model/file_io.h"

int main(int argc, char** argv) {
    railscen::ignore_file_size_signal();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return railscen::cli::run_tool(args, std::cout, std::cerr);
}
