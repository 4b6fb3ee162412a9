#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "lsp/diagnostics.h"
#include "lsp/documents.h"

namespace railscen::lsp {

// The language server: reads framed JSON-RPC messages, answers requests, and publishes the
// diagnostics of a pair after every open, change and save.
class LspServer {
  public:
    LspServer(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

    // Serves until exit or the end of the input; returns the process's exit code (0 after a
    // shutdown request, 1 otherwise).
    int serve();

    // Handles one message already parsed; public for tests that drive the server directly.
    void handle(const nlohmann::json& message);

  private:
    void reply(const nlohmann::json& id, nlohmann::json result);
    void notify(const std::string& method, nlohmann::json params);
    nlohmann::json answer(const std::string& method, const nlohmann::json& params);
    void on_notification(const std::string& method, const nlohmann::json& params);
    void publish(const std::string& uri);
    void publish_side(const CompiledPair& compiled, SourceFile file,
                      std::vector<ShownDiagnostic> shown);
    const CompiledPair& compiled(const OpenDocument& document);

    std::istream& in_;
    std::ostream& out_;
    Documents documents_;
    std::optional<CompiledPair> last_;  // hovers after a change reuse its compile
    bool initialized_ = false;
    // The client shows a diagnostic's notes at their places; when it does not, each note is
    // published as a diagnostic of its own.
    bool related_information_ = false;
    bool shut_down_ = false;
    bool exit_ = false;
};

}  // namespace railscen::lsp
