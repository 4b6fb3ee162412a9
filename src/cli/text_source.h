#pragma once

#include <optional>
#include <string>

#include "loader/description_source.h"

namespace railscen::cli {

// Two description texts already read (an editor's buffers, or files read once for a compile
// that must see the same bytes twice). Deleting a text only forgets it.
class TextSource : public DescriptionSource {
  public:
    TextSource(std::optional<std::string> line, std::optional<std::string> train)
        : line_(std::move(line)), train_(std::move(train)) {}

    std::optional<std::string> line_text() override { return line_; }
    std::optional<std::string> train_text() override { return train_; }
    void delete_line() override {}
    void delete_train() override {}

  private:
    std::optional<std::string> line_;
    std::optional<std::string> train_;
};

}  // namespace railscen::cli
