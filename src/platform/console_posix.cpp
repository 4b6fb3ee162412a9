// The terminal on POSIX: arguments and output are bytes, a terminal shows colour sequences.

#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "platform/console.h"

namespace railscen::platform {

std::vector<std::string> command_line_arguments(int argc, char** argv) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

void prepare_console() {}

void prepare_protocol_streams() {
    std::signal(SIGPIPE, SIG_IGN);
}

bool stderr_shows_colour() {
    return isatty(fileno(stderr)) != 0;
}

}  // namespace railscen::platform
