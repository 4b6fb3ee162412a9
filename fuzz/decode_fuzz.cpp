// Fuzzes one of the three decoders (chosen at build time by RAILSCEN_DECODE_SCENARIO, _CELLS or
// _PLAN) and everything railscen shows of what it decodes: the tables, the JSON and the picture.
// A file from anyone either decodes or gives a DecodeError; nothing may crash, hang, read out
// of range or allocate without bound.

#include <cstddef>
#include <cstdint>
#include <span>

#include "analysis/binary_views.h"
#include "output/binary_decode.h"
#include "render/route_sheet.h"

namespace {

using namespace railscen;

void draw(const analysis::Scene& scene) {
    (void)render::route_sheet(scene);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    analysis::Scene scene;
    try {
#if defined(RAILSCEN_DECODE_SCENARIO)
        scene.slots = decode_scenario_file(bytes);
        (void)analysis::slots_table(scene.slots);
        for (std::size_t i = 0; i < scene.slots.size(); ++i)
            (void)analysis::slot_words(scene.slots, i);
        // JSON is mostly the library's serialising: a few slots of each role are enough.
        for (const std::size_t i : {0, 1, 2, 79, 80, 81, 82, 83, 84, 85, 86}) {
            (void)analysis::slot_json(scene.slots, i);
        }
        scene.cells.resize(8);
#elif defined(RAILSCEN_DECODE_CELLS)
        scene.cells = decode_cell_file(bytes);
        (void)analysis::cells_table(scene.cells);
        for (std::size_t i = 0; i < scene.cells.size(); ++i)
            (void)analysis::cell_words(scene.cells, i);
        // JSON is mostly the library's serialising: the whole file only when it is short, and
        // every cell that holds an object.
        if (scene.cells.size() <= 16) (void)analysis::cells_json(scene.cells);
        for (std::size_t i = 0; i < scene.cells.size(); ++i) {
            if (scene.cells[i].kind != 0) (void)analysis::cell_json(scene.cells, i);
        }
#elif defined(RAILSCEN_DECODE_PLAN)
        scene.plan = decode_plan_file(bytes);
        (void)analysis::plan_table(*scene.plan);
        if (scene.plan->rows() <= 64) (void)analysis::plan_json(*scene.plan);
        scene.cells.resize(static_cast<std::size_t>(scene.plan->rows()) / 50 + 1);
#else
#error "choose a decoder"
#endif
    } catch (const DecodeError&) {
        return 0;
    }
    draw(scene);
    return 0;
}
