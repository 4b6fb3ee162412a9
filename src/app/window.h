#pragma once

#include <string_view>

namespace railscen {

// Shows the wait window ("Attendere") and paints it once; nothing when there is no display.
void show_wait_window();

// The fatal error box: shows " Errore n. " and the code, then ends the program at once with
// exit status 2. Nothing is closed, written or deleted afterwards.
[[noreturn]] void errore(std::string_view code);

}  // namespace railscen
