// A record whose fields run onto the next line: authors write one record a line, so a field
// read from a later line is most often a field missing from the record's own line, and the
// record took its value from the line below.

#include "analysis/warnings.h"

namespace railscen::analysis {

std::vector<Diagnostic> continuation_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    for (const SourceRecord& r : run.records) {
        if (r.kinds.empty()) continue;
        for (std::size_t i = 0; i < r.fields.size(); ++i) {
            if (r.fields[i].line == r.keyword.line) continue;
            Diagnostic d =
                warning("continued", r.field_location(i),
                        "the \"" + r.keyword.text + "\" record of line " +
                            std::to_string(r.keyword.line) + " takes \"" + r.fields[i].text +
                            "\" from this line as its field " + std::to_string(i + 1) +
                            "; is a field missing on line " + std::to_string(r.keyword.line) + "?");
            d.related.push_back({r.location(), "the record begins here"});
            warnings.push_back(std::move(d));
            break;
        }
    }
    return warnings;
}

}  // namespace railscen::analysis
