#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "model/run.h"

namespace railscen::lsp {

// file:// URIs and paths, percent-encoding every byte outside the unreserved set.
std::optional<std::filesystem::path> path_from_uri(std::string_view uri);
std::string uri_from_path(const std::filesystem::path& path);

// Which of the two formats a text is: by its name ("NAME_linea.txt" is a line description,
// "NAME_TRAIN-.txt" a train description), else by whether it holds the line length record.
SourceFile kind_of(const std::filesystem::path& path, std::string_view bytes);

// A text the editor has open: its Windows-1252 bytes (converted from the editor's text).
struct OpenDocument {
    std::string uri;
    std::filesystem::path path;
    std::string bytes;
    std::int64_t version = 0;
    std::string lost;  // beside each byte, '1' where it stands for a character Windows-1252
                       // cannot hold (read as "?")

    std::size_t lost_characters() const;
};

// A ranged edit: the UTF-16 positions (0-based line and column) it replaces, from and to.
struct TextEdit {
    std::int64_t from_line = 0;
    std::int64_t from_column = 0;
    std::int64_t to_line = 0;
    std::int64_t to_column = 0;
};

// One side of a compiled pair.
struct PairSide {
    std::string uri;  // empty for a stand-in text
    std::filesystem::path path;
    std::string bytes;
    bool stand_in = false;  // no partner was found: a neutral text takes its place
};

struct Pair {
    PairSide line;
    PairSide train;
    std::string line_name;
    std::string train_name;
    std::string partner_problem;  // why a partner on disk could not be read, if it could not

    const PairSide& side(SourceFile file) const { return file == SourceFile::kLine ? line : train; }
};

// The editor's open texts, and the pairs they compile in.
class Documents {
  public:
    void open(const std::string& uri, std::string_view utf8, std::int64_t version);
    void change(const std::string& uri, std::string_view utf8, std::int64_t version);
    // Replaces a range of an open document; false (and the document untouched) when the
    // document is not open or the range does not lie within it.
    bool edit(const std::string& uri, const TextEdit& range, std::string_view utf8);
    void set_version(const std::string& uri, std::int64_t version);
    void close(const std::string& uri);
    const OpenDocument* find(const std::string& uri) const;

    // The document with its partner: the partner's open buffer when it is open, the file on
    // disk otherwise, a neutral stand-in when there is none (so the text is still checked on
    // its own as far as it can be).
    Pair pair_for(const OpenDocument& document) const;

  private:
    std::optional<std::string> text_of(const std::filesystem::path& path, std::string& uri,
                                       std::string& problem) const;
    std::map<std::string, OpenDocument> open_;
};

// The compile of a pair, writing nothing.
struct CompiledPair {
    Pair pair;
    Run run;
    std::optional<std::int32_t> fatal;
};
CompiledPair compile_pair(Pair pair);

}  // namespace railscen::lsp
