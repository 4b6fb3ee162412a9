#pragma once

#include "model/scenario_slot.h"

namespace railscen {

// Puts the three kilometric progressive definitions of slots 81 to 83 in order (greatest
// origin in 81) and adds 100 to the value of every definition whose flag is exactly 1.
void progressive_ordina(Slots& slots);

}  // namespace railscen
