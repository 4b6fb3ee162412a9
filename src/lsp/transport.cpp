#include "lsp/transport.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace railscen::lsp {
namespace {

// One header line without its line end; false at the end of the input.
bool read_header_line(std::istream& in, std::string& line) {
    line.clear();
    char c = 0;
    bool any = false;
    while (in.get(c)) {
        any = true;
        if (c == '\n') break;
        // A header line has no business being long; the rest of it is dropped.
        if (line.size() < 1024) line += c;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

bool header_is(std::string_view line, std::string_view name) {
    if (line.size() <= name.size() || line[name.size()] != ':') return false;
    return std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

Frame read_frame(std::istream& in, std::size_t max_length) {
    std::string line;
    bool seen_any = false;
    bool has_length = false;
    bool bad = false;
    std::size_t length = 0;
    while (true) {
        if (!read_header_line(in, line)) {
            return {seen_any ? Frame::Status::kTruncated : Frame::Status::kEnd, {}};
        }
        if (line.empty()) {
            if (!seen_any) continue;  // stray blank lines between messages
            break;
        }
        seen_any = true;
        if (header_is(line, "Content-Length")) {
            std::string_view value = std::string_view(line).substr(15);
            while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
            while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
            const auto [end, ec] =
                std::from_chars(value.data(), value.data() + value.size(), length);
            has_length = ec == std::errc() && end == value.data() + value.size();
            bad = bad || !has_length;
        }
    }
    if (!has_length || bad) return {Frame::Status::kBadHeader, {}};
    if (length > max_length) {
        // Read past it in pieces, so a huge message costs no memory.
        char buffer[65536];
        std::size_t left = length;
        while (left > 0 &&
               in.read(buffer, static_cast<std::streamsize>(std::min(left, sizeof buffer)))) {
            left -= static_cast<std::size_t>(in.gcount());
        }
        return {left == 0 ? Frame::Status::kTooLarge : Frame::Status::kTruncated, {}};
    }
    Frame frame{Frame::Status::kMessage, std::string(length, '\0')};
    if (!in.read(frame.body.data(), static_cast<std::streamsize>(length))) {
        return {Frame::Status::kTruncated, {}};
    }
    return frame;
}

int json_depth(std::string_view body, int limit) {
    int depth = 0;
    int deepest = 0;
    bool in_string = false;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (in_string) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                in_string = false;
            }
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
            if (deepest > limit) return deepest;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

ParsedMessage parse_message(std::string_view body) {
    ParsedMessage parsed;
    if (json_depth(body) > kMaxJsonDepth) {
        parsed.error = kParseError;
        parsed.problem = "message nests deeper than " + std::to_string(kMaxJsonDepth) + " levels";
        return parsed;
    }
    parsed.value = nlohmann::json::parse(body, nullptr, false);
    if (parsed.value.is_discarded()) {
        parsed.error = kParseError;
        parsed.problem = "message is not JSON";
        parsed.value = nullptr;
    }
    return parsed;
}

void write_frame(std::ostream& out, const nlohmann::json& message) {
    // Invalid UTF-8 cannot reach here (texts are converted), but never throw while replying.
    const std::string body = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
    out.flush();
}

nlohmann::json error_response(const nlohmann::json& id, int code, const std::string& message) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

}  // namespace railscen::lsp
