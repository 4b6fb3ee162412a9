#include "source_text/scrivi_righe.h"

#include "model/file_io.h"

namespace railscen {

std::string list_bytes(LineList lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size() && i < kMaxListLines; ++i) {
        if (lines[i] == kEndOfList) break;
        out += lines[i];
        out += "\r\n";
    }
    return out;
}

void scrivi_righe(const std::filesystem::path& path, LineList lines) {
    write_file(path, list_bytes(lines));
}

}  // namespace railscen
