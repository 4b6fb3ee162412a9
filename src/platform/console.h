#pragma once

#include <string>
#include <vector>

namespace railscen::platform {

// The tool's arguments after the program's name, in UTF-8: on Windows taken from the wide
// command line, so that any file name reaches the tool whole; elsewhere argv as it is.
std::vector<std::string> command_line_arguments(int argc, char** argv);

// Makes the console show the tool's UTF-8 text as UTF-8 (Windows: the console's output code
// page, put back when the program ends); nothing to do elsewhere.
void prepare_console();

// Standard input and output carry a protocol's bytes as they are (Windows: binary mode, no
// CR LF translation), and a reader that goes away makes a write fail instead of ending the
// program (POSIX: SIGPIPE ignored).
void prepare_protocol_streams();

// Whether standard error is a terminal that shows colour sequences. On Windows a console does
// once its virtual-terminal mode is on, which this turns on (and back off when the program
// ends); false when standard error is no console or the mode cannot be set.
bool stderr_shows_colour();

}  // namespace railscen::platform
