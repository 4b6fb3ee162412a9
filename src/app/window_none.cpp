#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/window.h"

namespace railscen {

void show_wait_window() {}

void errore(std::string_view code) {
    const std::string message = " Errore n. " + std::string(code);
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    std::_Exit(2);
}

}  // namespace railscen
