#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "compile/scenario_names.h"
#include "loader/description_source.h"

#include "model/file_names.h"
#include "model/run.h"

namespace railscen {

// What compile and check share: the two description files as the author named them, the names
// the binary files are built from, and whether the plan is built.
struct CompileInputs {
    std::string line_file;
    std::string train_file;
    // The names the output files are built from; empty: from the files' own names.
    std::string line_name;
    std::string train_name;
    // A command that writes no file can do without names: where neither the options nor the
    // files' names give them, it compiles under the stored scenario's.
    bool writes_files = true;
    bool no_plan = false;
    bool no_warnings = false;         // -w
    bool warnings_as_errors = false;  // a warning makes the exit status 1
    bool from_utf8 = false;           // both texts are UTF-8: converted to Windows-1252
    std::string format = "text";  // the diagnostics as text on standard error, "json" or "sarif"
    bool colour = false;  // text messages in terminal colours, as the tool decided from --color

    // Inputs of a command that compiles in memory only.
    static CompileInputs for_reading() {
        CompileInputs inputs;
        inputs.writes_files = false;
        return inputs;
    }

    std::int32_t with_plan() const { return no_plan ? 0 : 1; }
    const std::string& file_of(SourceFile file) const {
        return file == SourceFile::kLine ? line_file : train_file;
    }
};

// The names the files are built from: the options, else the file names when they follow the
// pack's pattern ("NAME_linea.txt", "NAME_TRAIN-.txt"); UTF-8 converted to the Windows-1252
// the scenario stores. Throws UsageError saying which option to give, or which character
// Windows-1252 cannot hold.
ScenarioNames resolved_names(const CompileInputs& inputs);

// A run named as resolved_names says, ready for the compile.
Run named_run(const CompileInputs& inputs);

// Both description texts, read whole before anything else happens, so that an input that
// cannot be read (missing, a folder, not a regular file, no permission) stops the command with
// the file and the system's reason before anything is written. Throws FileError.
class InputTexts : public DescriptionSource {
  public:
    explicit InputTexts(const CompileInputs& inputs);

    std::optional<std::string> line_text() override { return line_; }
    std::optional<std::string> train_text() override { return train_; }
    void delete_line() override {}  // an author's sources are never changed
    void delete_train() override {}

  private:
    std::string line_;
    std::string train_;
};

// A usage error found before anything is written.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What a command writes into its output folder under the scenario's names, beside the files
// its options name themselves (a report, a picture).
struct WrittenFiles {
    bool plan = false;       // the plan file
    bool binaries = false;   // the scenario file and the cell file
    bool documents = false;  // the driver's timetable sheet and slowdown order form
    std::vector<std::filesystem::path> named;  // files named by the options
};

// The paths of those files, in the order compile writes them: the plan, the scenario file, the
// cell file, the named files, the timetable sheet, the slowdown order form.
std::vector<std::filesystem::path> written_paths(const std::filesystem::path& folder,
                                                 const FileNames& names, const WrittenFiles& what);

// Refuses outputs that would change what the command reads: an output that is the same file
// as an input (however it is spelled: compared by identity, so "./L.txt" and a hard link count)
// or whose name a folder holds. Throws UsageError naming both.
void guard_outputs(const std::vector<std::filesystem::path>& outputs,
                   const std::vector<std::filesystem::path>& inputs);

// A command's output folder must be there before anything is written: a missing one, or a
// name that is not a folder, fails the first output (a FileError naming it) with the reason.
void require_output_folder(const std::filesystem::path& folder,
                           const std::filesystem::path& first_output);

}  // namespace railscen
