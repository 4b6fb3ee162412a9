#pragma once

#include <string>
#include <string_view>

namespace railscen {

// A small scenario to begin from: a 12 km line and a train over it, with one record of every
// kind and a comment before each section saying what its fields are. CR LF lines, ASCII only;
// the names appear in the first comments. It checks clean.
struct StarterTexts {
    std::string line_text;
    std::string train_text;
};

StarterTexts starter_scenario(std::string_view line_name, std::string_view train_name);

}  // namespace railscen
