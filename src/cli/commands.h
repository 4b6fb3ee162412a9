#pragma once

#include <functional>

namespace CLI {
class App;
}

namespace railscen::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitProblem = 1;  // a recorded code or a fatal marker error
inline constexpr int kExitFailure = 2;  // a usage error or a failed file operation

// A subcommand added to the tool, and what runs it once the command line has been parsed.
struct Command {
    CLI::App* app;
    std::function<int()> run;
};

Command add_sources_command(CLI::App& parent);
Command add_compile_command(CLI::App& parent);
Command add_check_command(CLI::App& parent);
Command add_explain_command(CLI::App& parent);
Command add_inspect_command(CLI::App& parent);
Command add_render_command(CLI::App& parent);
Command add_lsp_command(CLI::App& parent);
Command add_watch_command(CLI::App& parent);

}  // namespace railscen::cli
