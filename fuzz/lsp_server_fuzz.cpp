// Fuzzes the language server as an editor talks to it: the input is the byte stream on its
// standard input (headers, bodies, batches, document edits and requests), served to the end.
// No input may crash, hang, grow memory past the limits or make the server write a message
// that is not framed JSON.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "lsp/server.h"
#include "lsp/transport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    railscen::lsp::LspServer server(in, out);
    const int status = server.serve();
    if (status != 0 && status != 1) __builtin_trap();

    // Every answer is a frame the transport reads back, with a JSON body.
    std::istringstream answers(out.str());
    while (true) {
        const railscen::lsp::Frame frame = railscen::lsp::read_frame(answers);
        if (frame.status == railscen::lsp::Frame::Status::kEnd) break;
        if (frame.status != railscen::lsp::Frame::Status::kMessage) __builtin_trap();
        if (railscen::lsp::parse_message(frame.body).error != 0) __builtin_trap();
    }
    return 0;
}
