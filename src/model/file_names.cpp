#include "model/file_names.h"

#include "model/text_encoding.h"
#include "model/utf8_path.h"

namespace railscen {
namespace {

// The path of a name in Windows-1252 bytes: its characters, through UTF-8.
std::filesystem::path name_path(const std::string& cp1252) {
    return utf8_path(utf8_from_1252(cp1252));
}

}  // namespace

FileNames file_names(std::string_view line_name, std::string_view train_name) {
    const std::string line(line_name);
    const std::string line_train = line + "_" + std::string(train_name);
    return FileNames{
        .line_description = name_path(line + "_linea.txt"),
        .train_description = name_path(line_train + "-.txt"),
        .notes_sheet = name_path(line_train + "_" + "note.txt"),
        .slowdown_form = name_path(line_train + "_" + "rallentamenti.txt"),
        .timetable_sheet = name_path(line_train + "_" + "scheda_treno.txt"),
        .plan_file = name_path(line + "_linea.dat"),
        .scenario_file = name_path(line_train + ".sim"),
        .cell_file = name_path(line_train + ".dat"),
    };
}

std::string name_problem(std::string_view name) {
    if (name == ".") return "\".\" names a folder";
    if (name == "..") return "\"..\" names a folder";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\') return "a path separator (/ or \\) may not stand in a name";
        if (byte < 0x20 || byte == 0x7F) return "a control byte may not stand in a name";
        if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
            std::string problem = "none of <>:\"|?* may stand in a name (found ";
            problem += c;
            problem += ')';
            return problem;
        }
    }
    return {};
}

}  // namespace railscen
