#include "model/track_cell.h"

#include "model/cell_index.h"

namespace railscen {

Cells Cells::for_route(std::int32_t route_length) {
    const std::int64_t upper = round_even((static_cast<double>(route_length) + 7000.0) / 50.0);
    // The loader refuses lengths that would leave fewer than two cells; a grid never has none.
    return Cells(static_cast<std::size_t>(upper < 0 ? 1 : upper + 1));
}

}  // namespace railscen
