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
#include "model/file_io.h"
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

// A folder holding a scenario to run a train over: the line text L_linea.txt, the train text
// L_T-.txt and the rolling-stock file stock.yaml.
struct TrainFolder {
    TempFolder folder;
    TrainFolder(const std::string& line, const std::string& train,
                const std::string& stock = hand_worked_stock()) {
        write_file(folder.path() / "L_linea.txt", line);
        write_file(folder.path() / "L_T-.txt", train);
        write_file(folder.path() / "stock.yaml", stock);
    }
    // railscen COMMAND L_linea.txt L_T-.txt ARGS..., in the folder.
    ToolRun run(const std::string& command, std::vector<std::string> args) const {
        args.insert(args.begin(), {command, "L_linea.txt", "L_T-.txt"});
        return tool(folder.path(), args);
    }
};

}  // namespace railscen::testing
