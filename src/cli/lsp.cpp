// railscen lsp: a language server for the description texts over standard input and output.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "lsp/server.h"
#include "platform/console.h"

namespace railscen::cli {

Command add_lsp_command(CLI::App& parent) {
    CLI::App* app =
        parent.add_subcommand("lsp", "language server for editors, over standard input and output");
    // Editors' clients often pass the transport; standard input and output is the only one.
    app->add_flag("--stdio")->description("talk over standard input and output (the default)");
    return {app, [](std::ostream& out, std::ostream&) {
                std::ios::sync_with_stdio(false);
                // Messages are counted in bytes; a client that goes away must not kill the
                // server in the middle of a write.
                platform::prepare_protocol_streams();
                std::cin.tie(nullptr);
                lsp::LspServer server(std::cin, out);
                return server.serve();
            }};
}

}  // namespace railscen::cli
