#include "lsp/server.h"

#include "lsp/diagnostics.h"
#include "lsp/hover.h"
#include "lsp/outline.h"
#include "lsp/positions.h"
#include "lsp/transport.h"
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

// A position as the protocol gives it: 0-based line and UTF-16 column, both within 0..2^31-1.
struct Position {
    std::int64_t line = 0;
    std::int64_t character = 0;
};

std::int64_t position_field(const nlohmann::json& at, const char* name) {
    const nlohmann::json& value = member(at, name);
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= INT32_MAX) {
        return value.get<std::int64_t>();
    }
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        throw BadParams(std::string("\"") + name + "\" is negative");
    }
    if (!value.is_number_integer())
        throw BadParams(std::string("\"") + name + "\" is not an integer");
    throw BadParams(std::string("\"") + name + "\" is out of range");
}

Position position_member(const nlohmann::json& object, const char* name) {
    const nlohmann::json& at = member(object, name);
    return {position_field(at, "line"), position_field(at, "character")};
}

std::string document_uri(const nlohmann::json& params) {
    return string_member(member(params, "textDocument"), "uri");
}

// The features' plain data in the protocol's terms: the one place they are converted.
nlohmann::json protocol_range(const TextRange& r) {
    return {{"start", {{"line", r.start_line}, {"character", r.start_character}}},
            {"end", {{"line", r.end_line}, {"character", r.end_character}}}};
}

nlohmann::json protocol_diagnostic(const ShownDiagnostic& d) {
    nlohmann::json out = {{"range", protocol_range(d.range)},
                          {"severity", static_cast<int>(d.level)},
                          {"source", "railscen"},
                          {"message", d.message}};
    if (d.code != 0) out["code"] = d.code;
    if (!d.related.empty()) {
        nlohmann::json related = nlohmann::json::array();
        for (const RelatedPlace& r : d.related) {
            related.push_back({{"location", {{"uri", r.uri}, {"range", protocol_range(r.range)}}},
                               {"message", r.note}});
        }
        out["relatedInformation"] = std::move(related);
    }
    return out;
}

nlohmann::json protocol_symbol(const OutlineSymbol& s) {
    nlohmann::json children = nlohmann::json::array();
    for (const OutlineSymbol& c : s.children) children.push_back(protocol_symbol(c));
    return {{"name", s.name},
            {"detail", s.detail},
            {"kind", static_cast<int>(s.kind)},
            {"range", protocol_range(s.range)},
            {"selectionRange", protocol_range(s.selection)},
            {"children", std::move(children)}};
}

constexpr int kCompletionKeyword = 14;

nlohmann::json protocol_completion(SourceFile file) {
    nlohmann::json items = nlohmann::json::array();
    for (const KeywordEntry& k : format_keywords(file)) {
        items.push_back({{"label", k.label},
                         {"kind", kCompletionKeyword},
                         {"detail", k.detail},
                         {"documentation", {{"kind", "plaintext"}, {"value", k.documentation}}},
                         {"insertText", k.insert}});
    }
    return {{"isIncomplete", false}, {"items", std::move(items)}};
}

nlohmann::json capabilities() {
    return {
        {"positionEncoding", "utf-16"},
        {"textDocumentSync",
         {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
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
        const ParsedMessage parsed = parse_message(frame.body);
        if (parsed.error != 0) {
            write_frame(out_, error_response(nullptr, parsed.error, parsed.problem));
            continue;
        }
        const nlohmann::json& message = parsed.value;
        handle(message);
    }
    return shut_down_ ? 0 : 1;
}

void LspServer::handle(const nlohmann::json& message) {
    if (message.is_array()) {
        // The protocol sends no batches: one refusal for the whole of it.
        write_frame(out_, error_response(nullptr, kInvalidRequest, "batches are not supported"));
        return;
    }
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
        // A response from the client (we send no requests) or no message at all.
        if (message.is_object() && message.contains("id") &&
            (message.contains("result") || message.contains("error"))) {
            return;
        }
        const nlohmann::json* id =
            message.is_object() && message.contains("id") ? &message["id"] : nullptr;
        write_frame(out_, error_response(id != nullptr && (id->is_number() || id->is_string())
                                             ? *id
                                             : nlohmann::json(),
                                         kInvalidRequest, "not a JSON-RPC request"));
        return;
    }
    const std::string method = message["method"].get<std::string>();
    const nlohmann::json no_params = nlohmann::json::object();
    const nlohmann::json& params = message.contains("params") ? message["params"] : no_params;
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
        const nlohmann::json* at = &params;
        for (const char* name : {"capabilities", "textDocument", "publishDiagnostics"}) {
            at = at->is_object() && at->contains(name) ? &(*at)[name] : nullptr;
            if (at == nullptr) break;
        }
        related_information_ = at != nullptr && at->is_object() &&
                               at->contains("relatedInformation") &&
                               (*at)["relatedInformation"] == true;
        return {{"capabilities", capabilities()}, {"serverInfo", {{"name", "railscen"}}}};
    }
    if (method == "shutdown") {
        shut_down_ = true;
        return nullptr;
    }
    if (method == "textDocument/hover") {
        const OpenDocument* d = documents_.find(document_uri(params));
        const Position at = position_member(params, "position");
        if (d == nullptr) return nullptr;
        if (!text_offset(d->bytes, at.line, at.character)) {
            throw BadParams("position " + std::to_string(at.line) + ":" +
                            std::to_string(at.character) + " lies outside the text (" +
                            std::to_string(line_count(d->bytes)) + " lines)");
        }
        const std::int64_t line = at.line;
        const CompiledPair& pair = compiled(*d);
        const SourceFile file = kind_of(d->path, d->bytes);
        const std::optional<std::string> text =
            hover_text(pair.run, file, static_cast<int>(line) + 1);
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
        nlohmann::json symbols = nlohmann::json::array();
        for (const OutlineSymbol& symbol : document_outline(d->bytes, kind_of(d->path, d->bytes))) {
            symbols.push_back(protocol_symbol(symbol));
        }
        return symbols;
    }
    if (method == "textDocument/completion") {
        const std::string uri = document_uri(params);
        const OpenDocument* d = documents_.find(uri);
        const SourceFile file = d != nullptr ? kind_of(d->path, d->bytes)
                                             : kind_of(path_from_uri(uri).value_or(""), "");
        return protocol_completion(file);
    }
    throw MethodNotFound(method);
}

void LspServer::on_notification(const std::string& method, const nlohmann::json& params) {
    if (method == "exit") {
        exit_ = true;
        return;
    }
    // After shutdown nothing but exit is heeded.
    if (method == "initialized" || !initialized_ || shut_down_) return;
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
        // Incremental sync: the changes in order, each a range and its new text, or a whole text.
        for (const nlohmann::json& change : changes) {
            const std::string text = string_member(change, "text");
            if (!change.contains("range")) {
                documents_.change(uri, text, 0);
                continue;
            }
            const nlohmann::json& range = member(change, "range");
            const Position from = position_member(range, "start");
            const Position to = position_member(range, "end");
            if (!documents_.edit(uri, {from.line, from.character, to.line, to.character}, text)) {
                // A range outside the text: the client and the server no longer agree on it.
                notify("window/showMessage",
                       {{"type", 1},
                        {"message", "railscen: a change to " + uri +
                                        " lies outside the text; reopen the file"}});
                return;
            }
        }
        documents_.set_version(uri, doc.contains("version") && doc["version"].is_number_integer()
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
    std::vector<ShownDiagnostic> line = text_diagnostics(pair, SourceFile::kLine);
    std::vector<ShownDiagnostic> train = text_diagnostics(pair, SourceFile::kTrain);
    if (!related_information_) {
        // A note may lie in either text, whichever the finding is shown on.
        std::vector<ShownDiagnostic> both = line;
        both.insert(both.end(), train.begin(), train.end());
        for (auto& [file, shown] :
             {std::pair{SourceFile::kLine, &line}, std::pair{SourceFile::kTrain, &train}}) {
            const std::vector<ShownDiagnostic> notes = notes_in(both, pair.pair.side(file).uri);
            shown->insert(shown->end(), notes.begin(), notes.end());
        }
    }
    publish_side(pair, SourceFile::kLine, std::move(line));
    publish_side(pair, SourceFile::kTrain, std::move(train));
}

void LspServer::publish_side(const CompiledPair& compiled, SourceFile file,
                             std::vector<ShownDiagnostic> shown) {
    const PairSide& side = compiled.pair.side(file);
    if (side.stand_in || side.uri.empty()) return;
    if (!compiled.pair.partner_problem.empty()) {
        shown.push_back({{},
                         Level::kWarning,
                         0,
                         compiled.pair.partner_problem + "; compiled without a partner text",
                         {}});
    }
    const OpenDocument* open = documents_.find(side.uri);
    if (open != nullptr && open->lost_characters() > 0) {
        shown.push_back({{},
                         Level::kWarning,
                         0,
                         std::to_string(open->lost_characters()) +
                             " characters that Windows-1252 cannot hold are read as \"?\"",
                         {}});
    }
    nlohmann::json list = nlohmann::json::array();
    for (const ShownDiagnostic& d : shown) list.push_back(protocol_diagnostic(d));
    nlohmann::json params = {{"uri", side.uri}, {"diagnostics", std::move(list)}};
    if (open != nullptr) params["version"] = open->version;
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
