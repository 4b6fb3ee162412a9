#include "model/file_io.h"

#include <gtest/gtest.h>

#include "model/file_names.h"
#include "source_text/scrivi_righe.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::read_bytes;
using testing::TempFolder;

TEST(FileNames, PlainConcatenationKeepsTheBlanks) {
    const FileNames n = file_names("VELARO-CUSTRA ", "R 40817");
    EXPECT_EQ(n.line_description, "VELARO-CUSTRA _linea.txt");
    EXPECT_EQ(n.train_description, "VELARO-CUSTRA _R 40817-.txt");
    EXPECT_EQ(n.notes_sheet, "VELARO-CUSTRA _R 40817_note.txt");
    EXPECT_EQ(n.slowdown_form, "VELARO-CUSTRA _R 40817_rallentamenti.txt");
    EXPECT_EQ(n.timetable_sheet, "VELARO-CUSTRA _R 40817_scheda_treno.txt");
    EXPECT_EQ(n.plan_file, "VELARO-CUSTRA _linea.dat");
    EXPECT_EQ(n.scenario_file, "VELARO-CUSTRA _R 40817.sim");
    EXPECT_EQ(n.cell_file, "VELARO-CUSTRA _R 40817.dat");
}

TEST(WriteFile, ReplacesALongerEarlierFileWhole) {
    TempFolder dir;
    const auto target = dir.path() / "VELARO-CUSTRA _R 40817.sim";
    write_file(target, std::string(5000, 'x'));
    write_file(target, std::string("new"));
    EXPECT_EQ(read_bytes(target), "new");
    EXPECT_EQ(testing::folder_listing(dir.path()),
              std::vector<std::string>{"VELARO-CUSTRA _R 40817.sim"});
}

TEST(WriteFile, AFailedWriteLeavesTheEarlierFileWholeAndNoTemporary) {
    TempFolder dir;
    // The temporary sibling cannot be created: a folder stands in its place.
    const auto target = dir.path() / "a.dat";
    write_file(target, std::string("earlier"));
    std::filesystem::create_directory(dir.path() / "a.dat.partial");
    EXPECT_THROW(write_file(target, std::string("later")), FileError);
    EXPECT_EQ(read_bytes(target), "earlier");

    // The rename fails: the target is a folder that holds a file.
    const auto blocked = dir.path() / "b.dat";
    std::filesystem::create_directories(blocked / "inside");
    try {
        write_file(blocked, std::string("bytes"));
        FAIL() << "expected a FileError";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("b.dat"), std::string::npos) << e.what();
    }
    EXPECT_EQ(testing::folder_listing(dir.path()),
              (std::vector<std::string>{"a.dat", "a.dat.partial", "b.dat"}));
}

TEST(ScriviRighe, WritesLinesBeforeTheMarkerWithCrLf) {
    TempFolder dir;
    const auto target = dir.path() / "x.txt";
    const std::string_view with_blank_and_empty[] = {"a ", "", "\xE8", kEndOfList, "never"};
    scrivi_righe(target, with_blank_and_empty);
    EXPECT_EQ(read_bytes(target), "a \r\n\r\n\xE8\r\n");
    const std::string_view only_marker[] = {kEndOfList};
    scrivi_righe(target, only_marker);
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_EQ(read_bytes(target), "");
}

TEST(ScriviRighe, AListWithoutMarkerStopsAtAThousandLines) {
    std::vector<std::string_view> many(1200, "l");
    EXPECT_EQ(list_bytes(many).size(), 3000u);
}

}  // namespace
}  // namespace railscen
