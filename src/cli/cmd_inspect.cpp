// railscen inspect FILE: a compiled scenario's binary file as a readable table or JSON.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/inspect_view.h"
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

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

int usage(std::ostream& err, const std::string& message) {
    err << "railscen inspect: " << message << '\n';
    return kExitFailure;
}

std::size_t largest_file(BinaryKind kind) {
    switch (kind) {
        case BinaryKind::kScenario:
            return kMaxScenarioFileBytes;
        case BinaryKind::kCells:
            return kMaxCellFileBytes;
        case BinaryKind::kPlan:
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
        out << (o.json ? cell_json(cells, index) : cell_words(cells, index));
    } else {
        out << (o.json ? cells_json(cells) : cells_table(cells));
    }
    return kExitOk;
}

int inspect_slots(const InspectOptions& o, std::string_view bytes, std::ostream& out,
                  std::ostream& err) {
    const Slots slots = decode_scenario_file(bytes);
    if (o.slot >= 0) {
        if (o.slot >= kSlotCount) return usage(err, "slots run from 0 to 86");
        const auto index = static_cast<std::size_t>(o.slot);
        out << (o.json ? slot_json(slots, index) : slot_words(slots, index));
    } else {
        out << (o.json ? slots_json(slots) : slots_table(slots));
    }
    return kExitOk;
}

int run_inspect(const InspectOptions& o, std::ostream& out, std::ostream& err) {
    const std::string name = utf8_name(utf8_path(o.file).filename());
    const std::optional<BinaryKind> kind =
        o.as.empty() ? kind_from_name(name) : kind_from_word(o.as);
    if (!kind) {
        return usage(err, "cannot tell from its name what " + o.file +
                              " holds; say it with --as sim, cells or plan");
    }
    if (o.cell >= 0 && kind != BinaryKind::kCells) return usage(err, "--cell needs a cell file");
    if (o.slot >= 0 && kind != BinaryKind::kScenario) {
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
            case BinaryKind::kCells:
                return inspect_cells(o, *bytes, out, err);
            case BinaryKind::kScenario:
                return inspect_slots(o, *bytes, out, err);
            case BinaryKind::kPlan: {
                const Plan plan = decode_plan_file(*bytes);
                out << (o.json ? plan_json(plan) : plan_table(plan));
                return kExitOk;
            }
        }
    } catch (const DecodeError& e) {
        return usage(err, o.file + ": " + e.what());
    }
    return kExitFailure;
}

}  // namespace

std::optional<BinaryKind> kind_from_name(std::string_view file_name) {
    std::string lower(file_name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ends_with(lower, "_linea.dat")) return BinaryKind::kPlan;
    if (ends_with(lower, ".dat")) return BinaryKind::kCells;
    if (ends_with(lower, ".sim")) return BinaryKind::kScenario;
    return std::nullopt;
}

std::optional<BinaryKind> kind_from_word(std::string_view word) {
    if (word == "sim") return BinaryKind::kScenario;
    if (word == "cells") return BinaryKind::kCells;
    if (word == "plan") return BinaryKind::kPlan;
    return std::nullopt;
}

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
