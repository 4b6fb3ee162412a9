// railscen new NAME DIR: a small commented scenario pair to begin from, NAME_linea.txt and
// NAME_TRAIN-.txt, with one record of every kind. Files already there are left alone.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/utf8_path.h"
#include "source_text/starter.h"

namespace railscen::cli {
namespace {

struct NewOptions {
    std::string name;
    std::string folder;
    std::string train = "R 1";
};

int run_new(const NewOptions& o, std::ostream& out, std::ostream& err) {
    const std::filesystem::path dir = utf8_path(o.folder);
    const FileNames names = file_names(o.name, o.train);
    const std::filesystem::path line = dir / names.line_description;
    const std::filesystem::path train = dir / names.train_description;
    for (const std::filesystem::path& file : {line, train}) {
        std::error_code ec;
        if (std::filesystem::symlink_status(file, ec).type() !=
            std::filesystem::file_type::not_found) {
            err << "railscen new: " << file.string() << " is there already; left as it is\n";
            return kExitFailure;
        }
    }
    std::filesystem::create_directories(dir);
    const StarterTexts texts = starter_scenario(o.name, o.train);
    write_file(line, texts.line_text);
    write_file(train, texts.train_text);
    out << line.string() << '\n' << train.string() << '\n';
    return kExitOk;
}

}  // namespace

Command add_new_command(CLI::App& parent) {
    auto o = std::make_shared<NewOptions>();
    CLI::App* app = parent.add_subcommand(
        "new", "write a small commented scenario pair to begin from, one record of every kind");
    const CLI::Validator file_name_part([](const std::string& name) { return name_problem(name); },
                                        "no path separator, control byte or <>:\"|?*");
    app->add_option("NAME", o->name, "the line's name: NAME_linea.txt")
        ->required()
        ->check(file_name_part);
    app->add_option("DIR", o->folder, "folder to write into (created when missing)")->required();
    app->add_option("--train-name", o->train, "the train's name: NAME_TRAIN-.txt")
        ->capture_default_str()
        ->check(file_name_part);
    return {app, [o](std::ostream& out, std::ostream& err) { return run_new(*o, out, err); }};
}

}  // namespace railscen::cli
