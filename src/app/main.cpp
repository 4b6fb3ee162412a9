// The scenario pack: writes its stored scenario and the driver's documents into its own
// folder, compiles the scenario into the simulator's binary files and ends.

#include <cstdio>
#include <string>

#include "app/pack.h"
#include "app/program_folder.h"
#include "app/window.h"
#include "model/file_io.h"

int main() {
    using namespace railscen;
    ignore_file_size_signal();
    try {
        const PackResult result = run_pack(program_folder(), show_wait_window);
        if (result.fatal) errore(std::to_string(*result.fatal));
        if (!result.message.empty()) std::fprintf(stderr, "%s\n", result.message.c_str());
        return result.status;
    } catch (const FileError& e) {
        std::fprintf(stderr, "scenario-pack: %s\n", e.what());
        return kExitFileFailure;
    }
}
