#pragma once

// Runs railscen as an author would, in a folder, and collects what it says: the tool's own code
// called in this process, or the built program started from a shell.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "model/file_names.h"
#include "support/test_support.h"

namespace railscen::testing {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string shell_quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The tool's code on the arguments, in this process, as if started in folder.
inline ToolRun tool(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::run_tool(args, out, err);
    std::filesystem::current_path(here);
    return {status, out.str(), err.str()};
}

// The built railscen program with the arguments, started in folder (which also keeps its two
// output streams).
inline ToolRun railscen(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    const std::filesystem::path out = folder / ".railscen-stdout";
    const std::filesystem::path err = folder / ".railscen-stderr";
    std::string command =
        "cd " + shell_quoted(folder.string()) + " && " + shell_quoted(RAILSCEN_PATH);
    for (const std::string& a : args) command += " " + shell_quoted(a);
    command += " >" + shell_quoted(out.string()) + " 2>" + shell_quoted(err.string());
    const int raw = std::system(command.c_str());
    ToolRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_bytes(out), read_bytes(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}

// Writes the stored scenario's sources into folder and compiles them there, as an author would.
inline bool compile_stored_sources(const std::filesystem::path& folder) {
    const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
    return tool(folder, {"sources", "."}).status == 0 &&
           tool(folder, {"compile", names.line_description, names.train_description}).status == 0;
}

}  // namespace railscen::testing
