// Which of the three binary files a file is.

#include <algorithm>
#include <cctype>
#include <string>

#include "analysis/binary_views.h"

namespace railscen::analysis {
namespace {

bool ends_with(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
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

}  // namespace railscen::analysis
