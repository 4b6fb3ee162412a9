// railscen: the scenario authors' tool. Writes the stored scenario's sources, compiles and
// checks description texts, explains codes, decodes and draws compiled scenarios.

#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "model/file_io.h"
#include "platform/console.h"

int main(int argc, char** argv) {
    railscen::ignore_file_size_signal();
    railscen::platform::prepare_console();
    const std::vector<std::string> args = railscen::platform::command_line_arguments(argc, argv);
    return railscen::cli::run_tool(args, std::cout, std::cerr);
}
