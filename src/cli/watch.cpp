// railscen watch LINE TRAIN: compiles, then compiles again on every save, printing only what
// changed. The binary files are written only by a compile that records no code, so the last
// good ones stay while the author works on an error.

#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>
#include <set>
#include <thread>

#include "analysis/warnings.h"
#include "cli/commands.h"
#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"
#include "loader/description_source.h"
#include "model/error_codes.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/utf8_path.h"
#include "platform/file_watch.h"
#include "render/route_sheet.h"
#include "report/diagnostics.h"

namespace railscen::cli {
namespace {

std::atomic<bool> g_stop{false};

extern "C" void on_interrupt(int) {
    g_stop = true;
}

struct WatchOptions {
    CompileInputs inputs;
    std::string out_folder = ".";
    std::string svg_file;
    bool poll = false;
};

constexpr std::chrono::milliseconds kSettleTime{60};
constexpr int kSettleAttempts = 50;

// A text that cannot be read is compiled as missing; why it cannot is told once per change.
std::optional<std::string> read_or_none(const std::string& file, std::string* problem = nullptr) {
    try {
        return read_file(utf8_path(file));
    } catch (const FileError& e) {
        if (problem != nullptr) *problem = e.what();
        return std::nullopt;
    }
}

// What one compile said, each diagnostic as the check command prints it: a code met only
// because loading had stopped is a note under the first error.
struct Outcome {
    std::vector<std::string> diagnostics;
    bool clean = false;
    std::int32_t code = 0;
};

std::string first_line(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

class Watcher {
  public:
    explicit Watcher(const WatchOptions& o) : o_(o) {}

    // Compiles when the texts differ from the last compile's; false when they do not. A text
    // being saved is read again after a short while until two reads agree (at most a few
    // seconds' worth), so a save in several steps is compiled once it has settled.
    bool compile_if_changed(std::ostream& out) {
        std::optional<std::string> line = read_or_none(o_.inputs.line_file);
        std::optional<std::string> train = read_or_none(o_.inputs.train_file);
        for (int attempt = 0; attempt < kSettleAttempts; ++attempt) {
            std::this_thread::sleep_for(kSettleTime);
            std::optional<std::string> line_again = read_or_none(o_.inputs.line_file);
            std::optional<std::string> train_again = read_or_none(o_.inputs.train_file);
            const bool settled = line_again == line && train_again == train;
            line = std::move(line_again);
            train = std::move(train_again);
            if (settled) break;
        }
        if (compiled_once_ && line == last_line_ && train == last_train_) return false;
        last_line_ = line;
        last_train_ = train;
        // A text there but unreadable (a device, a pipe, a loop of links, too large) is named.
        for (const std::string* file : {&o_.inputs.line_file, &o_.inputs.train_file}) {
            std::string problem;
            if (!read_or_none(*file, &problem) && !problem.empty()) out << problem << '\n';
        }
        compile(out, line, train);
        compiled_once_ = true;
        return true;
    }

  private:
    void compile(std::ostream& out, const std::optional<std::string>& line,
                 const std::optional<std::string>& train) {
        Run run = named_run(o_.inputs);
        MemorySource source(line, train);
        const std::optional<std::int32_t> fatal =
            compile_in_memory(run, o_.inputs.with_plan(), source);

        Outcome now;
        const std::vector<Diagnostic> warnings = analysis::check_warnings(run);
        const bool cut_off = analysis::has_cut_off_warning(warnings);
        now.diagnostics = report::diagnostic_messages(run, o_.inputs, warnings);
        now.code = run.error_code != 0 ? run.error_code : fatal.value_or(0);
        now.clean = now.code == 0;

        // Only what changed: the diagnostics gone, then the new ones in full.
        const std::set<std::string> before(previous_.begin(), previous_.end());
        const std::set<std::string> after(now.diagnostics.begin(), now.diagnostics.end());
        for (const std::string& d : previous_) {
            if (after.count(d) == 0) out << "fixed: " << first_line(d) << '\n';
        }
        for (const std::string& d : now.diagnostics) {
            if (before.count(d) == 0) out << d;
        }
        previous_ = now.diagnostics;

        if (now.clean && cut_off) {
            // Half a save compiles as often as not: the good files are kept until it is whole.
            out << "not written: a text may be cut off (see the warning); "
                << (have_good_ ? "the last good files in " + o_.out_folder + " stay"
                               : std::string("no good compile yet"))
                << '\n';
        } else if (now.clean) {
            try {
                Run writing = named_run(o_.inputs);
                MemorySource again(line, train);
                const CompileOutcome written =
                    memorizza_percorso(writing, o_.inputs.with_plan(), again, o_.out_folder);
                out << "ok: " << written.written.size() << " files written to " << o_.out_folder
                    << '\n';
                have_good_ = true;
            } catch (const FileError& e) {
                out << "not written: " << e.what() << '\n';
            }
        } else if (have_good_) {
            out << "not written: error " << now.code << "; the last good files in " << o_.out_folder
                << " stay\n";
        } else {
            out << "not written: error " << now.code << "; no good compile yet\n";
        }
        if (!o_.svg_file.empty()) redraw(out, std::move(run), now);
        out.flush();
    }

    void redraw(std::ostream& out, Run&& run, const Outcome& now) {
        if (!run.cells) return;  // nothing to draw without a grid
        const std::optional<std::int32_t> fatal = now.code != 0 && run.error_code == 0
                                                      ? std::optional<std::int32_t>(now.code)
                                                      : std::nullopt;
        const std::string sheet = render::route_sheet(
            analysis::scene_from_run(std::move(run), fatal, report::source_names(o_.inputs)));
        try {
            write_file(o_.svg_file, sheet);
        } catch (const FileError& e) {
            out << "not drawn: " << e.what() << '\n';
        }
    }

    const WatchOptions& o_;
    bool compiled_once_ = false;
    bool have_good_ = false;
    std::optional<std::string> last_line_;
    std::optional<std::string> last_train_;
    std::vector<std::string> previous_;
};

int run_watch(WatchOptions& o, std::ostream& out) {
    // The names and the outputs are settled once, as compile settles them: a picture or a
    // binary file must never land on one of the texts being watched.
    const ScenarioNames names = resolved_names(o.inputs);
    o.inputs.line_name = names.line_name;
    o.inputs.train_name = names.train_name;
    const std::filesystem::path folder = utf8_path(o.out_folder);
    WrittenFiles written;
    written.plan = o.inputs.with_plan() != 0;
    written.binaries = true;
    if (!o.svg_file.empty()) written.named.push_back(utf8_path(o.svg_file));
    const std::vector<std::filesystem::path> outputs =
        written_paths(folder, file_names(names.line_name, names.train_name), written);
    guard_outputs(outputs, {utf8_path(o.inputs.line_file), utf8_path(o.inputs.train_file)});
    require_output_folder(folder, outputs.front());

    std::signal(SIGINT, on_interrupt);
    std::signal(SIGTERM, on_interrupt);
    const std::vector<std::filesystem::path> files = {o.inputs.line_file, o.inputs.train_file};
    std::unique_ptr<platform::FileWatch> watch =
        o.poll ? nullptr : platform::native_file_watch(files);
    if (!watch) watch = platform::polling_file_watch(files, std::chrono::milliseconds(100));

    out << "railscen watch: " << o.inputs.line_file << " and " << o.inputs.train_file
        << " (Ctrl-C ends)\n";
    Watcher watcher(o);
    watcher.compile_if_changed(out);
    while (!g_stop) {
        if (!watch->wait(std::chrono::milliseconds(500))) continue;
        // A save may come in several steps; let them settle before reading.
        while (!g_stop && watch->wait(std::chrono::milliseconds(15))) {
        }
        if (!g_stop) watcher.compile_if_changed(out);
    }
    out << "railscen watch: stopped\n";
    return kExitOk;
}

}  // namespace

Command add_watch_command(CLI::App& parent) {
    auto o = std::make_shared<WatchOptions>();
    CLI::App* app = parent.add_subcommand(
        "watch", "compile, then compile again on every save, printing what changed");
    app->add_option("LINE_FILE", o->inputs.line_file, "line description text")->required();
    app->add_option("TRAIN_FILE", o->inputs.train_file, "train description text")->required();
    add_name_options(*app, o->inputs);
    add_output_folder(*app, o->out_folder,
                      "folder for the binary files, written by every compile without a code");
    app->add_option("--render", o->svg_file, "SVG picture redrawn after every compile");
    app->add_flag("--no-plan", o->inputs.no_plan, "build and write no plan");
    app->add_flag("--poll", o->poll, "look at the files every 100 ms instead of being told");
    return {app, [o](std::ostream& out, std::ostream&) { return run_watch(*o, out); }};
}

}  // namespace railscen::cli
