#include "lsp/records.h"

#include "source_text/field_reader.h"

namespace railscen::lsp {
namespace {

constexpr RecordInfo kGeneral[] = {
    {"lunghezza percorso", "line length"},
    {"progressiva chilometrica tre", "kilometric progressive three"},
    {"progressiva chilometrica due", "kilometric progressive two"},
    {"progressiva chilometrica uno", "kilometric progressive one"},
    {"sfondo uno", "background one"},
    {"sfondo due", "background two"},
    {"sfondo tre", "background three"},
    {"ripetizione segnali 4 codici", "signal repetition"},
};

constexpr RecordInfo kObjects[] = {
    {"pendenza", "gradient"},
    {"curvad3", "curve"},
    {"montagna", "mountain"},
    {"indicatori_vmax", "speed board"},
    {"cartello_indicatore", "sign board"},
};

constexpr RecordInfo kTrain[] = {
    {"percentuale massa frenata", "braked mass"},
    {"numero vetture", "cars"},
    {"velocita", "speed limit"},
    {"aderenza", "adhesion"},
    {"orologio", "clock"},
    {"sabbia", "sand"},
    {"segnale", "signal"},
    {"rallentamento", "slowdown"},
    {"abbattimento", "drop point"},
    {"stazione", "station"},
};

struct SourceLine {
    int number;  // 1-based
    std::string_view text;
};

// Lines ended by CR LF, a lone LF or a lone CR; a last line without an end counts too.
std::vector<SourceLine> split_lines(std::string_view text) {
    std::vector<SourceLine> lines;
    std::size_t start = 0;
    int number = 1;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        lines.push_back({number++, text.substr(start, end - start)});
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    return lines;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

const RecordInfo& info(GeneralRecord r) {
    return kGeneral[static_cast<int>(r)];
}
const RecordInfo& info(ObjectRecord r) {
    return kObjects[static_cast<int>(r)];
}
const RecordInfo& info(TrainRecord r) {
    return kTrain[static_cast<int>(r)];
}

const RecordFormat& format_of(const RecordInfo& record) {
    // The keywords are the table's own (a test holds every one to it).
    const RecordFormat* format = find_record_format(record.keyword);
    return format != nullptr ? *format : record_formats().front();
}

std::vector<RecordLine> classify_lines(std::string_view text, SourceFile file) {
    std::vector<RecordLine> out;
    RecordLine::Part part = RecordLine::Part::kPreamble;
    for (const SourceLine& source : split_lines(text)) {
        RecordLine r;
        r.line = source.number;
        r.text = source.text;
        FieldReader reader(source.text);
        try {
            r.keyword = reader.read_text();
            r.keyword_column = reader.field_column() > 0 ? reader.field_column() : 1;
        } catch (const ReadFailure&) {
            r.keyword.clear();
        }
        const std::string_view kw = trimmed(r.keyword);
        r.part = part;
        if (part == RecordLine::Part::kPreamble) {
            if (opens_general_section(kw)) {
                r.section = true;
                part = RecordLine::Part::kGeneral;
                r.part = part;
            }
            out.push_back(std::move(r));
            continue;
        }
        r.section = !kw.empty() && kw.front() == '[' && contains_exact(kw, "]");
        r.comment = is_comment_field(kw);
        if (r.comment || kw.empty()) {
            out.push_back(std::move(r));
            continue;
        }
        if (file == SourceFile::kTrain) {
            r.train = train_matches(kw);
        } else if (part == RecordLine::Part::kGeneral) {
            r.general = general_matches(kw);
            if (ends_general_section(kw)) part = RecordLine::Part::kRecords;
        } else {
            r.objects = object_matches(kw, true);
        }
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<std::int64_t> record_numbers(std::string_view row, std::size_t count) {
    std::vector<std::int64_t> out;
    FieldReader reader(row);
    try {
        reader.read_text();
        while (out.size() < count && !reader.at_end()) out.push_back(reader.read_long());
    } catch (const ReadFailure&) {
    }
    return out;
}

std::string record_text_after(std::string_view row, std::size_t count) {
    FieldReader reader(row);
    try {
        reader.read_text();
        for (std::size_t i = 0; i < count; ++i) reader.read_long();
        return reader.at_end() ? std::string() : reader.read_text();
    } catch (const ReadFailure&) {
        return {};
    }
}

}  // namespace railscen::lsp
