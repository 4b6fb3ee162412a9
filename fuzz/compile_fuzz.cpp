// Fuzzes the whole compile: the input is a line description and a train description separated
// by the first NUL byte; the last byte's lowest bit asks for the plan. No input may crash, hang or
// touch memory outside the model.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/memorizza_percorso.h"
#include "model/file_names.h"
#include "output/binary_files.h"

namespace {

class BufferSource : public railscen::DescriptionSource {
  public:
    BufferSource(std::string line, std::string train)
        : line_(std::move(line)), train_(std::move(train)) {}
    std::optional<std::string> line_text() override { return line_; }
    std::optional<std::string> train_text() override { return train_; }
    void delete_line() override {}
    void delete_train() override {}

  private:
    std::string line_;
    std::string train_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    BufferSource source(input.substr(0, split),
                        split == std::string::npos ? std::string() : input.substr(split + 1));
    railscen::Run run;
    run.line_name = railscen::kScenarioLineName;
    run.train_name = railscen::kScenarioTrainName;
    // The input's last byte chooses whether the plan is built as well.
    const std::int32_t with_plan = size > 0 && (data[size - 1] & 1) != 0;
    railscen::compile_in_memory(run, with_plan, source);
    if (run.cells) {
        railscen::encode_cell_file(*run.cells);
        railscen::encode_scenario_file(run.slots);
    }
    return 0;
}
