#include "source_text/text_layout.h"

#include <algorithm>
#include <vector>

#include "source_text/field_reader.h"

namespace railscen {
namespace {

struct Line {
    std::string_view body;
    std::string_view end;  // "\r\n", "\n", "\r" or nothing for the last line
};

std::vector<Line> split_lines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        std::size_t after = end;
        if (after < text.size() && text[after] == '\r') ++after;
        if (after < text.size() && text[after] == '\n' && (after == end || text[end] == '\r')) {
            ++after;
        }
        lines.push_back({text.substr(start, end - start), text.substr(end, after - end)});
        start = after;
    }
    return lines;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool is_header(std::string_view body) {
    return trimmed(body).starts_with('[');
}

// A line whose fields are laid out: a keyword and at least one comma, no tab, no quote (a
// quoted field may run over commas) and no comment.
bool is_record(std::string_view body) {
    const std::string_view t = trimmed(body);
    return !t.empty() && !is_header(t) && !t.starts_with('-') &&
           t.find(',') != std::string_view::npos && t.find('\t') == std::string_view::npos &&
           t.find('"') == std::string_view::npos;
}

std::vector<std::string_view> cells(std::string_view body) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = body.find(',', start);
        out.push_back(trimmed(body.substr(start, comma - start)));
        if (comma == std::string_view::npos) return out;
        start = comma + 1;
    }
}

std::string laid_out(const std::vector<std::string_view>& c,
                     const std::vector<std::size_t>& widths) {
    std::string out(c[0]);
    out += ',';
    out.append(widths[0] - c[0].size(), ' ');
    for (std::size_t i = 1; i < c.size(); ++i) {
        if (i > 1) out += ',';
        out.append(2 + widths[i] - c[i].size(), ' ');
        out += c[i];
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace

std::string laid_out_text(std::string_view text) {
    const std::vector<Line> lines = split_lines(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < lines.size()) {
        if (!is_record(lines[i].body)) {
            // Kept as it is but for blanks at its end, which no reader sees.
            std::string_view body = lines[i].body;
            if (body.find('\t') == std::string_view::npos) {
                while (!body.empty() && body.back() == ' ') body.remove_suffix(1);
            }
            out += body;
            out += lines[i].end;
            ++i;
            continue;
        }
        // A run of record lines up to the next header: its columns share their widths.
        std::size_t last = i;
        std::vector<std::vector<std::string_view>> run;
        std::vector<std::size_t> widths;
        for (; last < lines.size() && !is_header(lines[last].body); ++last) {
            if (!is_record(lines[last].body)) continue;
            run.push_back(cells(lines[last].body));
            if (widths.size() < run.back().size()) widths.resize(run.back().size(), 0);
            for (std::size_t k = 0; k < run.back().size(); ++k) {
                widths[k] = std::max(widths[k], run.back()[k].size());
            }
        }
        std::size_t next = 0;
        for (; i < last; ++i) {
            if (is_record(lines[i].body)) {
                out += laid_out(run[next++], widths);
            } else {
                std::string_view body = lines[i].body;
                if (body.find('\t') == std::string_view::npos) {
                    while (!body.empty() && body.back() == ' ') body.remove_suffix(1);
                }
                out += body;
            }
            out += lines[i].end;
        }
    }
    return out;
}

bool same_fields(std::string_view a, std::string_view b) {
    FieldReader ra(a);
    FieldReader rb(b);
    try {
        while (!ra.at_end() && !rb.at_end()) {
            if (ra.read_text() != rb.read_text() || ra.field_line() != rb.field_line()) {
                return false;
            }
        }
    } catch (const ReadFailure&) {
        return false;
    }
    return ra.at_end() && rb.at_end();
}

}  // namespace railscen
