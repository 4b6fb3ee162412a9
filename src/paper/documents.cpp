#include "paper/documents.h"

#include "compile/inputs.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "paper/slowdown_form.h"

namespace railscen::paper {

std::vector<std::filesystem::path> document_paths(const std::filesystem::path& folder,
                                                  const Run& run) {
    WrittenFiles documents;
    documents.documents = true;
    return written_paths(folder, file_names(run.line_name, run.train_name), documents);
}

std::vector<std::string> write_documents(const std::filesystem::path& folder, const Run& run,
                                         const TimetableSheet& sheet) {
    const std::vector<std::filesystem::path> paths = document_paths(folder, run);
    DocumentLines timetable = timetable_sheet_lines(sheet);
    const DocumentLines form = slowdown_form_lines(slowdown_form(run));
    write_file(paths[0], document_bytes(timetable.lines));
    write_file(paths[1], document_bytes(form.lines));
    timetable.warnings.insert(timetable.warnings.end(), form.warnings.begin(), form.warnings.end());
    return timetable.warnings;
}

}  // namespace railscen::paper
