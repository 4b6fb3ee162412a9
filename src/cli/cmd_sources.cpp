// railscen sources DIR: the stored scenario's description texts and documents, exactly as the
// pack writes them, without compiling or deleting anything.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "documents/documents.h"
#include "model/file_names.h"

namespace railscen::cli {

Command add_sources_command(CLI::App& parent) {
    auto folder = std::make_shared<std::string>();
    CLI::App* app = parent.add_subcommand(
        "sources", "write the stored scenario's line and train descriptions and documents");
    app->add_option("DIR", *folder, "folder to write into (created when missing)")->required();
    return {app, [folder](std::ostream& out, std::ostream&) {
                const std::filesystem::path dir = *folder;
                std::filesystem::create_directories(dir);
                write_sources_and_documents(dir, kScenarioLineName, kScenarioTrainName);
                const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
                for (const std::string& name :
                     {names.line_description, names.train_description, names.notes_sheet,
                      names.slowdown_form, names.timetable_sheet}) {
                    out << (dir / name).string() << '\n';
                }
                return kExitOk;
            }};
}

}  // namespace railscen::cli
