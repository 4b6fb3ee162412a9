// railscen sources DIR: the stored scenario's description texts and documents, exactly as the
// pack writes them, without compiling or deleting anything. Files already there are an author's
// work: they are replaced only with --force.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "documents/documents.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/text_encoding.h"
#include "model/utf8_path.h"

namespace railscen::cli {
namespace {

struct SourcesOptions {
    std::string folder;
    bool force = false;
};

int run_sources(const SourcesOptions& o, std::ostream& out, std::ostream& err) {
    const std::filesystem::path dir = utf8_path(o.folder);
    const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
    std::vector<std::filesystem::path> files;
    for (const std::filesystem::path& name :
         {names.line_description, names.train_description, names.notes_sheet, names.slowdown_form,
          names.timetable_sheet}) {
        files.push_back(dir / name);
    }
    if (!o.force) {
        std::vector<std::filesystem::path> taken;
        for (const std::filesystem::path& file : files) {
            std::error_code ec;
            if (std::filesystem::symlink_status(file, ec).type() !=
                std::filesystem::file_type::not_found) {
                taken.push_back(file);
            }
        }
        if (!taken.empty()) {
            err << "railscen sources: these files are there already and are left as they "
                   "are (--force replaces them):\n";
            for (const auto& file : taken) err << "  " << terminal_text(file.string()) << '\n';
            return kExitFailure;
        }
    }
    std::filesystem::create_directories(dir);
    const FolderLock lock(dir);
    write_sources_and_documents(dir, kScenarioLineName, kScenarioTrainName);
    for (const auto& file : files) out << file.string() << '\n';
    return kExitOk;
}

}  // namespace

Command add_sources_command(CLI::App& parent) {
    auto o = std::make_shared<SourcesOptions>();
    CLI::App* app = parent.add_subcommand(
        "sources", "write the stored scenario's line and train descriptions and documents");
    app->add_option("DIR", o->folder, "folder to write into (created when missing)")->required();
    app->add_flag("--force", o->force, "replace files that are there already");
    return {app, [o](std::ostream& out, std::ostream& err) { return run_sources(*o, out, err); }};
}

}  // namespace railscen::cli
