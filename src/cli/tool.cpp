// The railscen tool as a library call: option parsing, then the one command that was asked for.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <ostream>

#include "analysis/edit_distance.h"
#include "cli/commands.h"
#include "platform/console.h"

namespace railscen::cli {
namespace {

// --color: always and never as said; auto colours only a terminal, and not when NO_COLOR is
// set to anything. A console that needs telling to show colours is told so for always too.
bool wants_colour(const std::string& when, const std::ostream& err) {
    if (when == "never") return false;
    const bool terminal = &err == &std::cerr && platform::stderr_shows_colour();
    if (when == "always") return true;
    const char* no_colour = std::getenv("NO_COLOR");
    if (no_colour != nullptr && *no_colour != '\0') return false;
    return terminal;
}

// The word that is no command, and the command closest to it when one is close.
std::string unknown_command(const std::string& word, const std::vector<Command>& commands) {
    std::string message = "railscen: unknown command \"" + word + "\"";
    std::string nearest;
    std::size_t best = std::string::npos;
    for (const Command& command : commands) {
        const std::size_t d = analysis::edit_distance(word, command.app->get_name());
        if (d < best) {
            best = d;
            nearest = command.app->get_name();
        }
    }
    if (best <= std::max<std::size_t>(1, nearest.size() / 3)) {
        return message + "; did you mean \"" + nearest + "\"?\n";
    }
    return message + "; \"railscen --help\" lists the commands\n";
}

}  // namespace

int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"railscen: compile, check, inspect and draw train-driving scenarios", "railscen"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "railscen " RAILSCEN_VERSION);
    std::string colour = "auto";
    const auto add_colour_option = [&colour](CLI::App& to) {
        to.add_option("--color", colour, "colour the messages: auto (on a terminal), always, never")
            ->check(CLI::IsMember({"auto", "always", "never"}))
            ->capture_default_str();
    };
    add_colour_option(app);
    // Every message of the tool begins with its name.
    app.failure_message([](const CLI::App* a, const CLI::Error& e) {
        return "railscen: " + CLI::FailureMessage::simple(a, e);
    });
    std::vector<Command> commands = {
        add_sources_command(app), add_compile_command(app), add_check_command(app),
        add_explain_command(app), add_inspect_command(app), add_render_command(app),
        add_lsp_command(app),     add_watch_command(app),
    };
    commands.push_back(add_diff_command(app));
    commands.push_back(add_timetable_command(app));
    commands.push_back(add_documents_command(app));
    commands.push_back(add_new_command(app));
    commands.push_back(add_fmt_command(app));
#ifdef RAILSCEN_RUN_COMMAND
    commands.push_back(add_run_command(app));
#endif
    commands.push_back(add_completion_command(app));
    // --color is taken before the command and after it alike.
    for (const Command& command : commands) add_colour_option(*command.app);
    std::vector<std::string> given = args;
    // "railscen help" is "railscen --help".
    if (!given.empty() && given.front() == "help") given.front() = "--help";
    // The first word that is no option and no value of one names the command.
    for (std::size_t i = 0; i < given.size(); ++i) {
        const std::string& word = given[i];
        if (word == "--color") {
            ++i;
            continue;
        }
        if (word.starts_with('-')) continue;
        bool known = false;
        for (const Command& command : commands) known = known || command.app->get_name() == word;
        if (!known) {
            err << unknown_command(word, commands);
            return kExitFailure;
        }
        break;
    }
    std::vector<std::string> reversed(given.rbegin(), given.rend());  // CLI11 takes them reversed
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        // Help and the version are no failure; every other parse error is a usage error.
        return app.exit(e, out, err) == 0 ? kExitOk : kExitFailure;
    }
    const bool coloured = wants_colour(colour, err);
    for (const Command& command : commands) {
        if (!command.app->parsed()) continue;
        if (command.inputs != nullptr) command.inputs->colour = coloured;
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
