#include "model/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <span>
#include <stdexcept>

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

// The writer in process, under the faults it is built for. Each case prepares the folder, writes
// "later" over a target that held "earlier" (when the case says so) and states what the folder
// holds after: the target's bytes and mode, and the files beside it.
struct WriteCase {
    const char* what;
    std::function<void(const std::filesystem::path& dir)> prepare;
    bool earlier = true;       // a.dat holds "earlier" before the write
    std::string failure;       // the end of the FileError's text, or empty for success
    std::string target_after;  // what a.dat reads after
    std::vector<std::string> listing;
};

void symlink_to_victim(const std::filesystem::path& dir, const std::string& name) {
    write_file(dir / "victim", std::string("victim's own bytes"));
    std::filesystem::create_symlink(dir / "victim", dir / name);
}

// The name the writer tries first for a.dat in this process.
std::string first_temporary() {
    return ".a.dat." + std::to_string(::getpid()) + ".tmp";
}

TEST(WriteFile, FaultsLeaveTheEarlierFileWholeAndNothingIsFollowed) {
    const std::vector<WriteCase> cases = {
        {"a plain replacement", [](const auto&) {}, true, "", "later", {"a.dat"}},
        {"a symlink at the target is replaced, its file untouched",
         [](const auto& dir) { symlink_to_victim(dir, "a.dat"); },
         false,
         "",
         "later",
         {"a.dat", "victim"}},
        {"a symlink at the first temporary name is passed over",
         [](const auto& dir) { symlink_to_victim(dir, first_temporary()); },
         true,
         "",
         "later",
         {first_temporary(), "a.dat", "victim"}},
        {"a folder at the first temporary name is passed over",
         [](const auto& dir) { std::filesystem::create_directory(dir / first_temporary()); },
         true,
         "",
         "later",
         {first_temporary(), "a.dat"}},
        {"a size limit fails the write",
         [](const auto&) {
             ignore_file_size_signal();
             const rlimit limit{3, RLIM_INFINITY};
             ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
         },
         true,
         std::string("a.dat\": ") + std::strerror(EFBIG),
         "earlier",
         {"a.dat"}},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        const auto target = dir.path() / "a.dat";
        if (c.earlier) write_file(target, std::string("earlier"));
        c.prepare(dir.path());
        std::string failure;
        try {
            write_file(target, std::string("later"));
        } catch (const FileError& e) {
            failure = e.what();
        }
        rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        if (c.failure.empty()) {
            EXPECT_EQ(failure, "");
        } else {
            EXPECT_TRUE(failure.ends_with(c.failure)) << failure;
        }
        EXPECT_EQ(read_bytes(target), c.target_after);
        EXPECT_FALSE(std::filesystem::is_symlink(target));
        EXPECT_EQ(testing::folder_listing(dir.path()), c.listing);
        if (std::filesystem::exists(dir.path() / "victim")) {
            EXPECT_EQ(read_bytes(dir.path() / "victim"), "victim's own bytes");
        }
    }
}

TEST(WriteFile, AFolderAtTheTargetFailsBeforeAnythingIsCreated) {
    TempFolder dir;
    const auto blocked = dir.path() / "b.dat";
    std::filesystem::create_directories(blocked / "inside");
    try {
        write_file(blocked, std::string("bytes"));
        FAIL() << "expected a FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "cannot write \"" + blocked.string() + "\": a folder has that name");
    }
    EXPECT_EQ(testing::folder_listing(dir.path()), std::vector<std::string>{"b.dat"});
    EXPECT_EQ(testing::folder_listing(blocked), std::vector<std::string>{"inside"});
}

TEST(WriteFile, AReplacedFileKeepsItsPermissionBits) {
    TempFolder dir;
    const auto target = dir.path() / "a.sim";
    for (const auto perms : {std::filesystem::perms(0444), std::filesystem::perms(0640),
                             std::filesystem::perms(0755)}) {
        write_file(target, std::string("earlier"));
        std::filesystem::permissions(target, perms);
        write_file(target, std::string("later"));
        EXPECT_EQ(std::filesystem::status(target).permissions(), perms);
        EXPECT_EQ(read_bytes(target), "later");
        std::filesystem::permissions(target, std::filesystem::perms(0644));
    }
}

TEST(WriteFileInPieces, PiecesInAnyOrderMakeTheFile) {
    TempFolder dir;
    const auto target = dir.path() / "a_linea.dat";
    // Long enough that the writer reserves the file's blocks first.
    std::string expected(3 << 20, '\0');
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<char>(i * 7 % 251);
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(expected.data()), expected.size());
    write_file(target, std::string("earlier"));
    write_file_in_pieces(target, bytes.size(), [&](const PutBytes& put) {
        const std::size_t half = bytes.size() / 2;
        put(half, bytes.subspan(half));  // the second half first
        put(0, bytes.first(half));
    });
    EXPECT_EQ(read_bytes(target), expected);
    EXPECT_EQ(testing::folder_listing(dir.path()), std::vector<std::string>{"a_linea.dat"});
}

TEST(WriteFileInPieces, PiecesThatDoNotMakeUpTheFileLeaveTheEarlierOne) {
    struct Case {
        const char* what;
        std::function<void(const PutBytes&)> produce;
        std::string failure;  // the end of what() of the exception that passes on
    };
    const std::uint8_t five[] = {'l', 'a', 't', 'e', 'r'};
    const std::vector<Case> cases = {
        {"a piece past the end", [&](const PutBytes& put) { put(1, five); },
         "a piece lies past the file's end"},
        {"too few bytes", [&](const PutBytes& put) { put(0, std::span(five).first(4)); },
         "the pieces do not make up the file"},
        {"the producer fails",
         [&](const PutBytes& put) {
             put(0, std::span(five).first(2));
             throw std::runtime_error("no more points");
         },
         "no more points"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        const auto target = dir.path() / "a.dat";
        write_file(target, std::string("earlier"));
        std::string failure;
        try {
            write_file_in_pieces(target, 5, c.produce);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        EXPECT_TRUE(failure.ends_with(c.failure)) << failure;
        EXPECT_EQ(read_bytes(target), "earlier");
        EXPECT_EQ(testing::folder_listing(dir.path()), std::vector<std::string>{"a.dat"});
    }
}

TEST(FileIdentity, SameFileHoweverSpelledAndHardLinked) {
    TempFolder dir;
    write_file(dir.path() / "L.txt", std::string("line"));
    write_file(dir.path() / "other.txt", std::string("line"));
    std::filesystem::create_hard_link(dir.path() / "L.txt", dir.path() / "link.txt");
    std::filesystem::create_directory(dir.path() / "sub");
    const auto id = file_identity(dir.path() / "L.txt");
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(file_identity(dir.path() / "sub" / ".." / "." / "L.txt"), id);
    EXPECT_EQ(file_identity(dir.path() / "link.txt"), id);
    EXPECT_NE(file_identity(dir.path() / "other.txt"), id);
    EXPECT_EQ(file_identity(dir.path() / "absent.txt"), std::nullopt);
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
