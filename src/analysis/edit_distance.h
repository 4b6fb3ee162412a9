#pragma once

#include <cstddef>
#include <string_view>

namespace railscen::analysis {

// Edits (insert, delete, replace a byte) that turn one word into the other, a swap of two
// neighbouring letters counting as one edit (the commonest slip of the hand: "aderneza").
std::size_t edit_distance(std::string_view a, std::string_view b);

}  // namespace railscen::analysis
