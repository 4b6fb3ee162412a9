#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

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
