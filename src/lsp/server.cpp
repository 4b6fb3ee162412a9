#include "lsp/server.h"

#include "lsp/diagnostics.h"
#include "lsp/hover.h"
#include "lsp/jsonrpc.h"
#include "lsp/outline.h"
#include "lsp/positions.h"
#include "source_text/field_reader.h"

namespace railscen::lsp {
namespace {

// A request whose parameters do not fit what the method needs.
class BadParams : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class MethodNotFound : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

const nlohmann::json& member(const nlohmann::json& object, const char* name) {
    if (!object.is_object() || !object.contains(name)) {
        throw BadParams(std::string("missing \"") + name + "\"");
    }
    return object.at(name);
}

std::string string_member(const nlohmann::json& object, const char* name) {
    const nlohmann::json& value = member(object, name);
    if (!value.is_string()) throw BadParams(std::string("\"") + name + "\" is not a string");
    return value.get<std::string>();
}

std::int64_t integer_member(const nlohmann::json& object, const char* name) {
    const nlohmann::json& value = member(object, name);
    if (!value.is_number_integer()) {
        throw BadParams(std::string("\"") + name + "\" is not an integer");
    }
    return value.get<std::int64_t>();
}

std::string document_uri(const nlohmann::json& params) {
    return string_member(member(params, "textDocument"), "uri");
}

nlohmann::json capabilities() {
    return {
        {"positionEncoding", "utf-16"},
        {"textDocumentSync",
         {{"openClose", true}, {"change", 1}, {"save", {{"includeText", false}}}}},
        {"hoverProvider", true},
        {"documentSymbolProvider", true},
        {"completionProvider", {{"triggerCharacters", nlohmann::json::array()}}},
    };
}

}  // namespace

int LspServer::serve() {
    while (!exit_ && out_) {
        Frame frame = read_frame(in_);
        switch (frame.status) {
            case Frame::Status::kEnd:
            case Frame::Status::kTruncated:
                return shut_down_ ? 0 : 1;  // the client is gone
            case Frame::Status::kBadHeader:
                write_frame(out_, error_response(nullptr, kParseError,
                                                 "message header without a Content-Length"));
                continue;
            case Frame::Status::kTooLarge:
                write_frame(out_,
                            error_response(nullptr, kRequestFailed, "message too large; skipped"));
                continue;
            case Frame::Status::kMessage:
                break;
        }
        nlohmann::json message = nlohmann::json::parse(frame.body, nullptr, false);
        if (message.is_discarded()) {
            write_frame(out_, error_response(nullptr, kParseError, "message is not JSON"));
            continue;
        }
        handle(message);
    }
    return shut_down_ ? 0 : 1;
}

void LspServer::handle(const nlohmann::json& message) {
    if (message.is_array()) {
        // Batches are no part of the protocol's use; answer each member.
        if (message.empty())
            write_frame(out_, error_response(nullptr, kInvalidRequest, "empty batch"));
        for (const nlohmann::json& m : message) handle(m);
        return;
    }
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
        // A response from the client (we send no requests) or no message at all.
        if (message.is_object() && message.contains("id") &&
            (message.contains("result") || message.contains("error"))) {
            return;
        }
        const nlohmann::json id =
            message.is_object() && message.contains("id") ? message["id"] : nlohmann::json();
        write_frame(out_, error_response(id, kInvalidRequest, "not a JSON-RPC request"));
        return;
    }
    const std::string method = message["method"].get<std::string>();
    const nlohmann::json params =
        message.contains("params") ? message["params"] : nlohmann::json::object();
    const bool is_request = message.contains("id");
    const nlohmann::json id = is_request ? message["id"] : nlohmann::json();
    if (is_request && !(id.is_number_integer() || id.is_string())) {
        write_frame(out_,
                    error_response(nullptr, kInvalidRequest, "id must be a number or a string"));
        return;
    }
    try {
        if (!is_request) {
            on_notification(method, params);
            return;
        }
        if (!initialized_ && method != "initialize") {
            write_frame(out_, error_response(id, kServerNotInitialized, "not initialized"));
            return;
        }
        if (shut_down_) {
            write_frame(out_, error_response(id, kInvalidRequest, "shut down"));
            return;
        }
        reply(id, answer(method, params));
    } catch (const BadParams& e) {
        if (is_request) write_frame(out_, error_response(id, kInvalidParams, e.what()));
    } catch (const MethodNotFound&) {
        if (is_request)
            write_frame(out_, error_response(id, kMethodNotFound, "unknown method " + method));
    } catch (const std::exception& e) {
        if (is_request) write_frame(out_, error_response(id, kInternalError, e.what()));
    }
}

nlohmann::json LspServer::answer(const std::string& method, const nlohmann::json& params) {
    if (method == "initialize") {
        initialized_ = true;
        return {{"capabilities", capabilities()}, {"serverInfo", {{"name", "railscen"}}}};
    }
    if (method == "shutdown") {
        shut_down_ = true;
        return nullptr;
    }
    if (method == "textDocument/hover") {
        const OpenDocument* d = documents_.find(document_uri(params));
        const nlohmann::json& at = member(params, "position");
        const std::int64_t line = integer_member(at, "line");
        if (d == nullptr) return nullptr;
        if (line < 0 || line >= INT32_MAX) return nullptr;
        const CompiledPair& pair = compiled(*d);
        const SourceFile file = kind_of(d->path, d->bytes);
        const std::optional<std::string> text =
            hover_text(pair.run, file, d->bytes, static_cast<int>(line) + 1);
        if (!text) return nullptr;
        const std::string_view row = FieldReader(d->bytes).line_text(static_cast<int>(line) + 1);
        return {{"contents", {{"kind", "plaintext"}, {"value", *text}}},
                {"range",
                 {{"start", {{"line", line}, {"character", 0}}},
                  {"end", {{"line", line}, {"character", utf16_column(row, row.size())}}}}}};
    }
    if (method == "textDocument/documentSymbol") {
        const OpenDocument* d = documents_.find(document_uri(params));
        if (d == nullptr) return nlohmann::json::array();
        return document_symbols(d->bytes, kind_of(d->path, d->bytes));
    }
    if (method == "textDocument/completion") {
        const std::string uri = document_uri(params);
        const OpenDocument* d = documents_.find(uri);
        const SourceFile file = d != nullptr ? kind_of(d->path, d->bytes)
                                             : kind_of(path_from_uri(uri).value_or(""), "");
        return {{"isIncomplete", false}, {"items", completion_items(file)}};
    }
    throw MethodNotFound(method);
}

void LspServer::on_notification(const std::string& method, const nlohmann::json& params) {
    if (method == "exit") {
        exit_ = true;
        return;
    }
    if (method == "initialized" || !initialized_) return;
    if (method == "textDocument/didOpen") {
        const nlohmann::json& doc = member(params, "textDocument");
        const std::string uri = string_member(doc, "uri");
        documents_.open(uri, string_member(doc, "text"),
                        doc.contains("version") && doc["version"].is_number_integer()
                            ? doc["version"].get<std::int64_t>()
                            : 0);
        publish(uri);
    } else if (method == "textDocument/didChange") {
        const nlohmann::json& doc = member(params, "textDocument");
        const std::string uri = string_member(doc, "uri");
        const nlohmann::json& changes = member(params, "contentChanges");
        if (!changes.is_array() || changes.empty()) return;
        // Full-text sync: the last change holds the whole text.
        documents_.change(uri, string_member(changes.back(), "text"),
                          doc.contains("version") && doc["version"].is_number_integer()
                              ? doc["version"].get<std::int64_t>()
                              : 0);
        publish(uri);
    } else if (method == "textDocument/didSave") {
        publish(document_uri(params));
    } else if (method == "textDocument/didClose") {
        const std::string uri = document_uri(params);
        // An open partner compiled with the closed buffer: it now gets the file on disk.
        std::string partner;
        if (const OpenDocument* d = documents_.find(uri)) {
            const Pair pair = documents_.pair_for(*d);
            partner = pair.line.uri == uri ? pair.train.uri : pair.line.uri;
        }
        documents_.close(uri);
        notify("textDocument/publishDiagnostics",
               {{"uri", uri}, {"diagnostics", nlohmann::json::array()}});
        if (!partner.empty()) publish(partner);
    }
}

void LspServer::publish(const std::string& uri) {
    const OpenDocument* d = documents_.find(uri);
    if (d == nullptr) return;
    const CompiledPair& pair = compiled(*d);
    publish_side(pair, SourceFile::kLine);
    publish_side(pair, SourceFile::kTrain);
}

void LspServer::publish_side(const CompiledPair& compiled, SourceFile file) {
    const PairSide& side = compiled.pair.side(file);
    if (side.stand_in || side.uri.empty()) return;
    nlohmann::json list = nlohmann::json::array();
    for (nlohmann::json& d : lsp_diagnostics(compiled, file)) list.push_back(std::move(d));
    if (const OpenDocument* open = documents_.find(side.uri);
        open != nullptr && open->lost_characters > 0) {
        list.push_back({{"range",
                         {{"start", {{"line", 0}, {"character", 0}}},
                          {"end", {{"line", 0}, {"character", 0}}}}},
                        {"severity", 2},
                        {"source", "railscen"},
                        {"message", std::to_string(open->lost_characters) +
                                        " characters that Windows-1252 cannot hold are read "
                                        "as \"?\""}});
    }
    nlohmann::json params = {{"uri", side.uri}, {"diagnostics", std::move(list)}};
    if (const OpenDocument* open = documents_.find(side.uri)) params["version"] = open->version;
    notify("textDocument/publishDiagnostics", std::move(params));
}

const CompiledPair& LspServer::compiled(const OpenDocument& document) {
    Pair pair = documents_.pair_for(document);
    const bool same =
        last_ && last_->pair.line.bytes == pair.line.bytes &&
        last_->pair.train.bytes == pair.train.bytes && last_->pair.line.uri == pair.line.uri &&
        last_->pair.train.uri == pair.train.uri && last_->pair.line_name == pair.line_name &&
        last_->pair.train_name == pair.train_name;
    if (!same) last_ = compile_pair(std::move(pair));
    return *last_;
}

void LspServer::reply(const nlohmann::json& id, nlohmann::json result) {
    write_frame(out_, {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void LspServer::notify(const std::string& method, nlohmann::json params) {
    write_frame(out_, {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
}

}  // namespace railscen::lsp
