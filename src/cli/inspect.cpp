// railscen inspect FILE: a compiled scenario's binary file as a readable table or JSON.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "analysis/binary_views.h"
#include "cli/commands.h"
#include "model/file_io.h"
#include "model/utf8_path.h"
#include "output/binary_decode.h"

namespace railscen::cli {
namespace {

struct InspectOptions {
    std::string file;
    int cell = -1;
    int slot = -1;
    bool json = false;
    std::string as;
};

int usage(std::ostream& err, const std::string& message) {
    err << "railscen inspect: " << message << '\n';
    return kExitFailure;
}

std::size_t largest_file(analysis::BinaryKind kind) {
    switch (kind) {
        case analysis::BinaryKind::kScenario:
            return kMaxScenarioFileBytes;
        case analysis::BinaryKind::kCells:
            return kMaxCellFileBytes;
        case analysis::BinaryKind::kPlan:
            return kMaxPlanFileBytes;
    }
    return 0;
}

int inspect_cells(const InspectOptions& o, std::string_view bytes, std::ostream& out,
                  std::ostream& err) {
    const std::vector<TrackCell> cells = decode_cell_file(bytes);
    if (o.cell >= 0) {
        if (static_cast<std::size_t>(o.cell) >= cells.size()) {
            return usage(err, "cell " + std::to_string(o.cell) + " lies beyond the last cell " +
                                  std::to_string(cells.size() - 1));
        }
        const auto index = static_cast<std::size_t>(o.cell);
        out << (o.json ? analysis::cell_json(cells, index) : analysis::cell_words(cells, index));
    } else {
        out << (o.json ? analysis::cells_json(cells) : analysis::cells_table(cells));
    }
    return kExitOk;
}

int inspect_slots(const InspectOptions& o, std::string_view bytes, std::ostream& out,
                  std::ostream& err) {
    const Slots slots = decode_scenario_file(bytes);
    if (o.slot >= 0) {
        if (o.slot >= kSlotCount) return usage(err, "slots run from 0 to 86");
        const auto index = static_cast<std::size_t>(o.slot);
        out << (o.json ? analysis::slot_json(slots, index) : analysis::slot_words(slots, index));
    } else {
        out << (o.json ? analysis::slots_json(slots) : analysis::slots_table(slots));
    }
    return kExitOk;
}

int run_inspect(const InspectOptions& o, std::ostream& out, std::ostream& err) {
    const std::string name = utf8_name(utf8_path(o.file).filename());
    const std::optional<analysis::BinaryKind> kind =
        o.as.empty() ? analysis::kind_from_name(name) : analysis::kind_from_word(o.as);
    if (!kind) {
        return usage(err, "cannot tell from its name what " + o.file +
                              " holds; say it with --as sim, cells or plan");
    }
    if (o.cell >= 0 && kind != analysis::BinaryKind::kCells)
        return usage(err, "--cell needs a cell file");
    if (o.slot >= 0 && kind != analysis::BinaryKind::kScenario) {
        return usage(err, "--slot needs a scenario file");
    }
    std::error_code ec;
    if (!std::filesystem::exists(o.file, ec)) return usage(err, o.file + ": no such file");
    // A file larger than any compile writes is refused before it is read.
    std::optional<std::string> bytes;
    try {
        bytes = read_input_file(o.file, largest_file(*kind));
    } catch (const FileError& e) {
        return usage(err, e.what());
    }
    try {
        switch (*kind) {
            case analysis::BinaryKind::kCells:
                return inspect_cells(o, *bytes, out, err);
            case analysis::BinaryKind::kScenario:
                return inspect_slots(o, *bytes, out, err);
            case analysis::BinaryKind::kPlan: {
                const Plan plan = decode_plan_file(*bytes);
                out << (o.json ? analysis::plan_json(plan) : analysis::plan_table(plan));
                return kExitOk;
            }
        }
    } catch (const DecodeError& e) {
        return usage(err, o.file + ": " + e.what());
    }
    return kExitFailure;
}

}  // namespace

Command add_inspect_command(CLI::App& parent) {
    auto o = std::make_shared<InspectOptions>();
    CLI::App* app = parent.add_subcommand(
        "inspect", "decode a scenario (.sim), cell (.dat) or plan (_linea.dat) file");
    app->add_option("FILE", o->file, "the binary file")->required();
    CLI::Option* cell = app->add_option("--cell", o->cell, "explain one cell in words")
                            ->check(CLI::NonNegativeNumber);
    CLI::Option* slot = app->add_option("--slot", o->slot, "explain one slot in words")
                            ->check(CLI::NonNegativeNumber);
    cell->excludes(slot);
    app->add_flag("--json", o->json, "JSON instead of a table");
    app->add_option("--as", o->as, "what the file holds, when its name does not tell")
        ->check(CLI::IsMember({"sim", "cells", "plan"}));
    return {app, [o](std::ostream& out, std::ostream& err) { return run_inspect(*o, out, err); }};
}

}  // namespace railscen::cli
