#include "grid/progressive.h"

#include <cstdint>

namespace railscen {
namespace {

struct Progressive {
    std::int32_t origin = 0;
    std::int32_t value = 0;
    std::int32_t flag = 0;
};

Progressive take(const ScenarioSlot& slot) {
    return {slot.start, slot.finish, slot.position};
}

void put(ScenarioSlot& slot, const Progressive& p) {
    slot.start = p.origin;
    slot.finish = p.value;
    slot.position = p.flag;
}

}  // namespace

void progressive_ordina(Slots& slots) {
    const Progressive t = take(slots[kProgressiveTre]);
    const Progressive d = take(slots[kProgressiveDue]);
    const Progressive u = take(slots[kProgressiveUno]);
    const Progressive none;
    Progressive first = none, second = none, third = none;

    const std::int64_t sum = std::int64_t{t.origin} + d.origin + u.origin;
    if (sum != 0) {
        if (t.origin > d.origin && t.origin > u.origin) {
            first = t;
            second = d.origin > u.origin ? d : u;
            third = d.origin > u.origin ? u : d;
        } else if (d.origin > t.origin && d.origin > u.origin) {
            first = d;
            second = t.origin > u.origin ? t : u;
            third = t.origin > u.origin ? u : t;
        } else if (u.origin > t.origin && u.origin > d.origin) {
            first = u;
            second = t.origin > d.origin ? t : d;
            third = t.origin > d.origin ? d : t;
        }
        // A greatest origin shared by two or three definitions clears all three.
    } else {
        // The last test that holds decides.
        if (t.value > 0) first = t, second = d, third = u;
        if (d.value > 0) first = d, second = t, third = u;
        if (u.value > 0) first = u, second = d, third = t;
    }

    put(slots[kProgressiveTre], first);
    put(slots[kProgressiveDue], second);
    put(slots[kProgressiveUno], third);
    for (int i : {kProgressiveTre, kProgressiveDue, kProgressiveUno}) {
        if (slots[i].position == 1)
            slots[i].finish =
                static_cast<std::int32_t>(static_cast<std::uint32_t>(slots[i].finish) + 100u);
    }
}

}  // namespace railscen
