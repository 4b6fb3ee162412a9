// The railscen tool as a library call: option parsing, then the one command that was asked for.

#include <CLI/CLI.hpp>
#include <exception>
#include <ostream>

#include "cli/commands.h"

namespace railscen::cli {

int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"railscen: compile, check, inspect and draw train-driving scenarios", "railscen"};
    app.require_subcommand(1);
    const std::vector<Command> commands = {
        add_sources_command(app), add_compile_command(app), add_check_command(app),
        add_explain_command(app), add_inspect_command(app), add_render_command(app),
        add_lsp_command(app),     add_watch_command(app),
    };
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them reversed
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        // Help is no failure; every other parse error is a usage error.
        return app.exit(e, out, err) == 0 ? kExitOk : kExitFailure;
    }
    for (const Command& command : commands) {
        if (!command.app->parsed()) continue;
        try {
            return command.run(out, err);
        } catch (const std::exception& e) {
            err << "railscen: " << e.what() << '\n';
            return kExitFailure;
        }
    }
    return kExitFailure;
}

}  // namespace railscen::cli
