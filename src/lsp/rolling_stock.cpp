#include "lsp/rolling_stock.h"

#include <system_error>

#include "analysis/warnings.h"
#include "model/utf8_path.h"

namespace railscen::lsp {

std::optional<std::filesystem::path> rolling_stock_beside(const std::filesystem::path& train_text) {
    std::error_code ec;
    const std::filesystem::path folder =
        train_text.has_parent_path() ? train_text.parent_path() : std::filesystem::path(".");
    std::optional<std::filesystem::path> found;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::filesystem::path ext = it->path().extension();
        if ((ext != ".yaml" && ext != ".yml") || !it->is_regular_file(ec)) continue;
        if (found) return std::nullopt;
        found = it->path();
    }
    return found;
}

std::vector<Diagnostic> rolling_stock_warnings(const CompiledPair& c) {
    const PairSide& train = c.pair.train;
    if (!analysis::has_train_dynamics() || train.stand_in || train.path.empty()) return {};
    if (c.run.error_code != 0 || c.fatal) return {};
    const std::optional<std::filesystem::path> stock = rolling_stock_beside(train.path);
    if (!stock) return {};
    try {
        return analysis::train_run_warnings(c.run, {utf8_name(*stock), ""});
    } catch (const analysis::TrainRunError& e) {
        return {analysis::warning(
            "rolling-stock", {SourceFile::kTrain, 1, 1},
            "rolling stock beside the texts cannot be used: " + std::string(e.what()))};
    }
}

}  // namespace railscen::lsp
