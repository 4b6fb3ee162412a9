// railscen completion bash: a bash completion script written from the tool's own command table,
// so the commands and options it offers are those the parser takes. Hidden from the help; the
// build installs its output.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace railscen::cli {
namespace {

// The words of a choice list that a validator names in the option's type, as in
// "TEXT:{auto,always,never}"; none when the option takes no fixed words.
std::vector<std::string> choices(const CLI::Option& option) {
    const std::string type = option.get_type_name();
    const std::size_t open = type.find('{');
    const std::size_t close = type.find('}', open);
    std::vector<std::string> words;
    if (open == std::string::npos || close == std::string::npos) return words;
    std::string word;
    for (std::size_t i = open + 1; i <= close; ++i) {
        if (i == close || type[i] == ',') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else if (type[i] != ' ') {
            word += type[i];
        }
    }
    return words;
}

// Names and choices reach the script in single quotes; a quote inside is closed and escaped.
std::string quoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

bool shown(const CLI::App* app) {
    return !app->get_group().empty();
}

// The command's option names, and a case arm for each option that takes a value: its choices,
// or file names.
void write_options(const CLI::App& app, std::vector<std::string>& names, std::string& arms) {
    for (const CLI::Option* option : app.get_options()) {
        if (!option->nonpositional() || option->get_group().empty()) continue;
        std::vector<std::string> spelled;
        for (const std::string& s : option->get_snames()) spelled.push_back("-" + s);
        for (const std::string& l : option->get_lnames()) spelled.push_back("--" + l);
        names.insert(names.end(), spelled.begin(), spelled.end());
        if (option->get_expected_max() == 0) continue;  // a flag
        const std::vector<std::string> words = choices(*option);
        std::string pattern;
        for (const std::string& s : spelled) pattern += (pattern.empty() ? "" : "|") + quoted(s);
        arms += "        " + pattern + ") ";
        arms += words.empty()
                    ? "_railscen_files"
                    : "COMPREPLY=($(compgen -W " + quoted(joined(words)) + " -- \"$cur\"))";
        arms += "; return ;;\n";
    }
}

std::string bash_script(const CLI::App& tool) {
    std::vector<std::string> command_names{"help"};
    std::vector<std::string> tool_options;
    std::string tool_arms;
    write_options(tool, tool_options, tool_arms);
    std::string command_arms;
    for (const CLI::App* command : tool.get_subcommands({})) {
        if (!shown(command)) continue;
        command_names.push_back(command->get_name());
        std::vector<std::string> options;
        std::string arms;
        write_options(*command, options, arms);
        command_arms += "    " + quoted(command->get_name()) + ")\n";
        command_arms += "        case $prev in\n" + arms + "        esac\n";
        command_arms += "        options=" + quoted(joined(options)) + " ;;\n";
    }
    std::string value_options;  // the tool's options before the command that take a value
    for (const CLI::Option* option : tool.get_options()) {
        if (!option->nonpositional() || option->get_expected_max() == 0) continue;
        for (const std::string& l : option->get_lnames())
            value_options += (value_options.empty() ? "" : "|") + quoted("--" + l);
    }
    std::string script;
    script += "# bash completion for railscen, written by \"railscen completion bash\" from its\n";
    script += "# command table.\n\n";
    script += "_railscen_files() {\n";
    script += "    local IFS=$'\\n'\n";
    script += "    compopt -o filenames 2>/dev/null\n";
    script += "    COMPREPLY=($(compgen -f -- \"$cur\"))\n";
    script += "}\n\n";
    script += "_railscen() {\n";
    script += "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n";
    script += "    local command='' options='' i\n";
    script += "    COMPREPLY=()\n";
    script += "    for ((i = 1; i < COMP_CWORD; i++)); do\n";
    script += "        case ${COMP_WORDS[i]} in\n";
    if (!value_options.empty()) script += "        " + value_options + ") ((i++)) ;;\n";
    script += "        -*) ;;\n";
    script += "        *) command=${COMP_WORDS[i]}; break ;;\n";
    script += "        esac\n";
    script += "    done\n";
    script += "    case $command in\n";
    script += "    '')\n";
    script += "        case $prev in\n" + tool_arms + "        esac\n";
    script += "        if [[ $cur != -* ]]; then\n";
    script +=
        "            COMPREPLY=($(compgen -W " + quoted(joined(command_names)) + " -- \"$cur\"))\n";
    script += "            return\n";
    script += "        fi\n";
    script += "        options=" + quoted(joined(tool_options)) + " ;;\n";
    script += command_arms;
    script += "    *) return ;;\n";
    script += "    esac\n";
    script += "    if [[ $cur == -* ]]; then\n";
    script += "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n";
    script += "    else\n";
    script += "        _railscen_files\n";
    script += "    fi\n";
    script += "}\n";
    script += "complete -F _railscen railscen\n";
    return script;
}

}  // namespace

Command add_completion_command(CLI::App& parent) {
    auto shell = std::make_shared<std::string>();
    CLI::App* app =
        parent.add_subcommand("completion", "write a shell completion script to standard output");
    app->group("");  // not listed in the help
    app->add_option("SHELL", *shell, "the shell")->required()->check(CLI::IsMember({"bash"}));
    CLI::App* tool = &parent;
    // The lambda holds the shell's word, which the parser writes after this returns.
    return {app, [tool, shell](std::ostream& out, std::ostream&) {
                out << bash_script(*tool);
                return kExitOk;
            }};
}

}  // namespace railscen::cli
