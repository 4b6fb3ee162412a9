#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace railscen::lsp {

// Messages framed as in the Language Server Protocol: header lines ended by CR LF, a blank
// line, then Content-Length bytes of JSON.
struct Frame {
    enum class Status {
        kMessage,    // body holds the content
        kEnd,        // the input ended between messages: the client is gone
        kBadHeader,  // no usable Content-Length; the reader has skipped to the next blank line
        kTooLarge,   // the content was longer than the limit and has been skipped
        kTruncated,  // the input ended inside a message
    };
    Status status = Status::kEnd;
    std::string body;
};

// No description text comes near this; a longer message is read past and refused.
inline constexpr std::size_t kMaxContentLength = std::size_t{256} << 20;

Frame read_frame(std::istream& in, std::size_t max_length = kMaxContentLength);

// No message of the protocol nests deeper than a few levels; a deeper one is refused before it
// is parsed, so nothing that walks a JSON value (copying, comparing, freeing) goes deeper.
inline constexpr int kMaxJsonDepth = 64;

// How deep the arrays and objects of a JSON text nest (brackets inside strings left out),
// counted up to limit + 1 at most.
int json_depth(std::string_view body, int limit = kMaxJsonDepth);

// A message body parsed, or the error it gets: kParseError with what is wrong with it.
struct ParsedMessage {
    nlohmann::json value;
    int error = 0;
    std::string problem;
};
ParsedMessage parse_message(std::string_view body);

// Writes one message and flushes it.
void write_frame(std::ostream& out, const nlohmann::json& message);

// JSON-RPC error codes.
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
inline constexpr int kServerNotInitialized = -32002;
inline constexpr int kRequestFailed = -32803;

nlohmann::json error_response(const nlohmann::json& id, int code, const std::string& message);

}  // namespace railscen::lsp
