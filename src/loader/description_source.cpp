#include "loader/description_source.h"

#include "model/file_io.h"

namespace railscen {

std::optional<std::string> FolderSource::line_text() {
    return read_file(line_file_);
}
std::optional<std::string> FolderSource::train_text() {
    return read_file(train_file_);
}
void FolderSource::delete_line() {
    delete_file(line_file_);
}
void FolderSource::delete_train() {
    delete_file(train_file_);
}

std::optional<std::string> ReadOnlySource::line_text() {
    return read_file(line_file_);
}
std::optional<std::string> ReadOnlySource::train_text() {
    return read_file(train_file_);
}

}  // namespace railscen
