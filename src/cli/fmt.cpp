// railscen fmt FILE... [--check]: the description texts laid out in columns; --check only says
// which are not. A text is written only when the reader takes the same fields from it after.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "model/file_io.h"
#include "model/utf8_path.h"
#include "source_text/text_layout.h"

namespace railscen::cli {
namespace {

struct FmtOptions {
    std::vector<std::string> files;
    bool check = false;
};

int run_fmt(const FmtOptions& o, std::ostream& out, std::ostream& err) {
    int status = kExitOk;
    for (const std::string& file : o.files) {
        const std::filesystem::path path = utf8_path(file);
        const std::string text = read_input_file(path);
        const std::string laid_out = laid_out_text(text);
        if (laid_out == text) continue;
        if (!same_fields(text, laid_out)) {
            err << "railscen fmt: " << file
                << ": left as it is: laid out, the reader would take other fields from it\n";
            status = kExitFailure;
            continue;
        }
        if (o.check) {
            out << file << ": not laid out\n";
            if (status == kExitOk) status = kExitProblem;
            continue;
        }
        write_file(path, laid_out);
        out << file << '\n';
    }
    return status;
}

}  // namespace

Command add_fmt_command(CLI::App& parent) {
    auto o = std::make_shared<FmtOptions>();
    CLI::App* app = parent.add_subcommand(
        "fmt", "lay out description texts: fields in columns per section, blanks normalised");
    app->add_option("FILE", o->files, "line or train description texts")->required();
    app->add_flag("--check", o->check,
                  "write nothing; exit 1 when a text is not laid out, naming it");
    return {app, [o](std::ostream& out, std::ostream& err) { return run_fmt(*o, out, err); }};
}

}  // namespace railscen::cli
