#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace railscen {

// Where the loader finds the two description texts and what "delete" means for them: the pack
// deletes its own files, an author's compile leaves the sources alone.
class DescriptionSource {
  public:
    virtual ~DescriptionSource() = default;

    // The whole text, or nullopt when the file does not exist.
    virtual std::optional<std::string> line_text() = 0;
    virtual std::optional<std::string> train_text() = 0;

    // Called when the loader is done with a text; a text already gone is no failure.
    virtual void delete_line() = 0;
    virtual void delete_train() = 0;
};

// Description texts held in memory (tests, benchmarks, fuzzing); remembers which ones the
// loader deleted.
class MemorySource : public DescriptionSource {
  public:
    MemorySource(std::optional<std::string> line, std::optional<std::string> train)
        : line_(std::move(line)), train_(std::move(train)) {}

    std::optional<std::string> line_text() override { return line_; }
    std::optional<std::string> train_text() override { return train_; }
    void delete_line() override { line_.reset(); }
    void delete_train() override { train_.reset(); }

    bool line_left() const { return line_.has_value(); }
    bool train_left() const { return train_.has_value(); }

  private:
    std::optional<std::string> line_;
    std::optional<std::string> train_;
};

// Description files in a folder, deleted after use (the pack).
class FolderSource : public DescriptionSource {
  public:
    FolderSource(std::filesystem::path line_file, std::filesystem::path train_file)
        : line_file_(std::move(line_file)), train_file_(std::move(train_file)) {}

    std::optional<std::string> line_text() override;
    std::optional<std::string> train_text() override;
    void delete_line() override;
    void delete_train() override;

  private:
    std::filesystem::path line_file_;
    std::filesystem::path train_file_;
};

// Description files that are read and never changed (an author's own sources).
class ReadOnlySource : public DescriptionSource {
  public:
    ReadOnlySource(std::filesystem::path line_file, std::filesystem::path train_file)
        : line_file_(std::move(line_file)), train_file_(std::move(train_file)) {}

    std::optional<std::string> line_text() override;
    std::optional<std::string> train_text() override;
    void delete_line() override {}
    void delete_train() override {}

  private:
    std::filesystem::path line_file_;
    std::filesystem::path train_file_;
};

}  // namespace railscen
