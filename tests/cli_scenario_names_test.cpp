#include "compile/scenario_names.h"

#include <gtest/gtest.h>

namespace railscen::cli {
namespace {

struct NamesCase {
    const char* line_file;
    const char* train_file;
    const char* line_name;  // nullptr: the files do not follow the pattern
    const char* train_name;
};

TEST(NamesFromFiles, ThePacksPatternGivesBothNames) {
    const NamesCase cases[] = {
        {"VELARO-CUSTRA _linea.txt", "VELARO-CUSTRA _R 40817-.txt", "VELARO-CUSTRA ", "R 40817"},
        {"A_B_linea.txt", "A_B_C_D-.txt", "A_B", "C_D"},  // the line file fixes where NAME ends
        {"my-line_linea.txt", "other_R 1-.txt", nullptr, nullptr},  // NAME differs
        {"line.txt", "train.txt", nullptr, nullptr},
        {"_linea.txt", "_R 1-.txt", nullptr, nullptr},   // empty NAME
        {"L_linea.txt", "L_-.txt", nullptr, nullptr},    // empty TRAIN
        {"L_linea.txt", "L_R 1.txt", nullptr, nullptr},  // no hyphen before .txt
        {"L_linea.txt", "LR 1-.txt", nullptr, nullptr},  // no underscore after NAME
    };
    for (const NamesCase& c : cases) {
        const std::optional<ScenarioNames> got = names_from_files(c.line_file, c.train_file);
        if (c.line_name == nullptr) {
            EXPECT_FALSE(got) << c.line_file << " + " << c.train_file;
            continue;
        }
        ASSERT_TRUE(got) << c.line_file << " + " << c.train_file;
        EXPECT_EQ(got->line_name, c.line_name);
        EXPECT_EQ(got->train_name, c.train_name);
    }
}

}  // namespace
}  // namespace railscen::cli
