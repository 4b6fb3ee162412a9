// railscen: the scenario authors' tool. Writes the stored scenario's sources, compiles and
// checks description texts, explains codes, decodes and draws compiled scenarios.

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
    using namespace railscen::cli;
    CLI::App app{"railscen: compile, check, inspect and draw train-driving scenarios"};
    app.require_subcommand(1);
    const std::vector<Command> commands = {
        add_sources_command(app), add_compile_command(app), add_check_command(app),
        add_explain_command(app), add_inspect_command(app), add_render_command(app),
        add_lsp_command(app),     add_watch_command(app),
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help is no failure; every other parse error is a usage error.
        return app.exit(e) == 0 ? kExitOk : kExitFailure;
    }
    for (const Command& command : commands) {
        if (!command.app->parsed()) continue;
        try {
            return command.run();
        } catch (const std::exception& e) {
            std::cerr << "railscen: " << e.what() << '\n';
            return kExitFailure;
        }
    }
    return kExitFailure;
}
