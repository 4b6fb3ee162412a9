// The pack and railscen under faults, run as a user would from a shell: each row prepares a
// folder, runs one command line in it and states the exit status, the whole message on standard
// error and what the folder holds after (every entry, and the bytes that matter).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cli_tool.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/scenario_slot.h"
#include "output/binary_files.h"

namespace railscen {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TempFolder;

const FileNames kNames = file_names(kScenarioLineName, kScenarioTrainName);
const std::string kSim = kNames.scenario_file;
const std::string kCells = kNames.cell_file;
const std::string kPlan = kNames.plan_file;

// What a clean run leaves: the pack's six files, and railscen's sources and binaries.
struct Reference {
    std::map<std::string, std::string> pack;  // name -> bytes
    std::string line;                         // the stored line description
    std::string train;
    std::map<std::string, std::string> binaries;  // railscen compile's three files
};

std::map<std::string, std::string> regular_files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder)) {
        if (e.is_regular_file() && !e.is_symlink() && e.path().filename() != "scenario-pack") {
            files[e.path().filename().string()] = read_bytes(e.path());
        }
    }
    return files;
}

const Reference& reference() {
    static const Reference made = [] {
        TempFolder dir;
        Reference r;
        fs::copy_file(SCENARIO_PACK_PATH, dir.path() / "scenario-pack");
        const std::string pack = "cd " + testing::shell_quoted(dir.path().string()) +
                                 " && ./scenario-pack && rm scenario-pack";
        EXPECT_EQ(std::system(pack.c_str()), 0);
        r.pack = regular_files(dir.path());
        TempFolder tool;
        EXPECT_TRUE(testing::compile_stored_sources(tool.path()));
        r.line = read_bytes(tool.path() / kNames.line_description);
        r.train = read_bytes(tool.path() / kNames.train_description);
        for (const std::string& name : {kPlan, kSim, kCells}) {
            r.binaries[name] = read_bytes(tool.path() / name);
        }
        return r;
    }();
    return made;
}

// A folder for one row: work/ is where the command runs; its logs stay beside it.
struct Scene {
    TempFolder root;
    fs::path work;
    Scene() : work(root.path() / "work") { fs::create_directory(work); }
};

void put(const fs::path& file, const std::string& bytes) {
    write_file(file, bytes);
}

void with_sources(const Scene& s) {
    put(s.work / "L.txt", reference().line);
    put(s.work / "T.txt", reference().train);
}

void with_pack(const Scene& s) {
    fs::copy_file(SCENARIO_PACK_PATH, s.work / "scenario-pack");
}

void with_binaries(const fs::path& folder) {
    fs::create_directories(folder);
    for (const auto& [name, bytes] : reference().binaries) put(folder / name, bytes);
}

void with_clean_pack_run(const Scene& s) {
    with_pack(s);
    const std::string run = "cd " + testing::shell_quoted(s.work.string()) + " && ./scenario-pack";
    ASSERT_EQ(std::system(run.c_str()), 0);
}

void with_victim(const Scene& s, const std::string& link) {
    put(s.root.path() / "victim", "someone else's file");
    fs::create_symlink(s.root.path() / "victim", s.work / link);
}

// Runs as the unprivileged user "nobody" when the tests run as root (where modes do not stop
// anyone); empty when that cannot be done here.
std::optional<std::string> unprivileged_prefix() {
    if (::geteuid() != 0) return std::string();
    if (std::system("setpriv --reuid=nobody --regid=nogroup --clear-groups true 2>/dev/null") !=
        0) {
        return std::nullopt;
    }
    return std::string("setpriv --reuid=nobody --regid=nogroup --clear-groups ");
}

void read_only_for_others(const fs::path& folder) {
    fs::permissions(folder, fs::perms(0555));
}

// Every entry under folder, as a path relative to it, sorted; symlinks are not followed.
std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (auto it = fs::recursive_directory_iterator(folder);
         it != fs::recursive_directory_iterator(); ++it) {
        names.push_back(it->path().lexically_relative(folder).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> with(std::vector<std::string> names, std::vector<std::string> more) {
    names.insert(names.end(), more.begin(), more.end());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> pack_six() {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : reference().pack) names.push_back(name);
    return names;
}

std::vector<std::string> in(const std::string& folder, const std::vector<std::string>& names) {
    std::vector<std::string> out = {folder};
    for (const auto& n : names) out.push_back(folder + "/" + n);
    std::sort(out.begin(), out.end());
    return out;
}

const std::vector<std::string> kBinaries = {kPlan, kSim, kCells};

void expect_pack_files_as_a_clean_run(const Scene& s) {
    EXPECT_TRUE(regular_files(s.work) == reference().pack);
}

void expect_binaries_in(const fs::path& folder) {
    for (const auto& [name, bytes] : reference().binaries) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(read_bytes(folder / name) == bytes);
    }
}

void expect_sources_untouched(const Scene& s) {
    EXPECT_EQ(read_bytes(s.work / "L.txt"), reference().line);
    EXPECT_EQ(read_bytes(s.work / "T.txt"), reference().train);
}

void expect_victim_untouched(const Scene& s) {
    EXPECT_EQ(read_bytes(s.root.path() / "victim"), "someone else's file");
}

// Both runs of a pair ended with status 0.
void expect_both_succeeded(const Scene& s) {
    EXPECT_EQ(read_bytes(s.root.path() / "statuses"), "0\n0\n");
}

// A scenario file whose station and line texts are the author's bytes.
std::string crafted_scenario(const std::string& station, const std::string& line) {
    Slots slots{};
    slots[1].category = 1;
    slots[1].position = 1000;
    slots[1].text = station;
    slots[kLineSlot].text = line;
    slots[kTrainSlot].text = "T";
    const Bytes bytes = encode_scenario_file(slots);
    return std::string(bytes.begin(), bytes.end());
}

struct Fault {
    const char* what;
    std::function<void(const Scene&)> prepare;
    std::string command;  // run in work/; "railscen" is the built tool
    int status;
    std::string message;  // the whole of standard error; {work} stands for work's full path
    std::vector<std::string> after;  // every entry under work/ after the run
    std::function<void(const Scene&)> check = [](const Scene&) {};
    bool unprivileged = false;  // run as a user who cannot write into root's folders
    bool whole_message = true;  // false: message is only the first line
};

const std::string kTwoPacks =
    "(./scenario-pack; echo $? >>../statuses) & (./scenario-pack; echo $? >>../statuses) & wait";
// The stored scenario's names, given as options (file names like L.txt give none).
const std::string kNamed = "--line-name '" + std::string(kScenarioLineName) + "' --train-name '" +
                           std::string(kScenarioTrainName) + "' ";
const std::string kTwoCompiles = "(railscen compile " + kNamed +
                                 "L.txt T.txt -o out; echo $? >>../statuses) & "
                                 "(railscen compile " +
                                 kNamed + "L.txt T.txt -o out; echo $? >>../statuses) & wait";
const std::string kNotOverInputs = "; railscen never writes over what it reads\n";

std::vector<Fault> faults() {
    const std::vector<std::string> sources = {"L.txt", "T.txt"};
    return {
        // The pack.
        {"two packs at once in one folder", with_pack, kTwoPacks, 0, "",
         with(pack_six(), {"scenario-pack"}),
         [](const Scene& s) {
             expect_both_succeeded(s);
             expect_pack_files_as_a_clean_run(s);
         }},
        {"pack under a file-size limit after a clean run", with_clean_pack_run,
         "ulimit -f 1000; ./scenario-pack", 3,
         "scenario-pack: cannot write \"{work}/" + kPlan + "\": File too large\n",
         with(pack_six(), {"scenario-pack"}), expect_pack_files_as_a_clean_run},
        {"pack with a folder at the cell file's name",
         [](const Scene& s) {
             with_pack(s);
             fs::create_directory(s.work / kCells);
         },
         "./scenario-pack",
         3,
         "scenario-pack: cannot write \"{work}/" + kCells + "\": a folder has that name\n",
         {kCells, kPlan, kSim, kNames.notes_sheet, kNames.slowdown_form, kNames.timetable_sheet,
          "scenario-pack"}},
        {"pack failing after its descriptions removes them",
         [](const Scene& s) {
             with_pack(s);
             fs::create_directory(s.work / kNames.notes_sheet);
         },
         "./scenario-pack",
         3,
         "scenario-pack: cannot write \"{work}/" + kNames.notes_sheet.string() +
             "\": a folder has that name\n",
         {kNames.notes_sheet, "scenario-pack"}},
        {"pack in a folder it may not write",
         [](const Scene& s) {
             with_pack(s);
             read_only_for_others(s.work);
         },
         "./scenario-pack",
         3,
         "scenario-pack: cannot write \"{work}/" + kNames.line_description.string() +
             "\": Permission denied\n",
         {"scenario-pack"},
         [](const Scene&) {},
         true},
        {"pack with a symlink at an output name",
         [](const Scene& s) {
             with_pack(s);
             with_victim(s, kSim);
         },
         "./scenario-pack", 0, "", with(pack_six(), {"scenario-pack"}),
         [](const Scene& s) {
             expect_victim_untouched(s);
             EXPECT_FALSE(fs::is_symlink(s.work / kSim));
             expect_pack_files_as_a_clean_run(s);
         }},
        {"pack with a symlink at the old temporary name",
         [](const Scene& s) {
             with_pack(s);
             with_victim(s, kSim + ".partial");
         },
         "./scenario-pack", 0, "", with(pack_six(), {"scenario-pack", kSim + ".partial"}),
         [](const Scene& s) {
             expect_victim_untouched(s);
             expect_pack_files_as_a_clean_run(s);
         }},
        {"pack replacing a read-only output",
         [](const Scene& s) {
             with_clean_pack_run(s);
             put(s.work / kSim, "older");
             fs::permissions(s.work / kSim, fs::perms(0444));
         },
         "./scenario-pack", 0, "", with(pack_six(), {"scenario-pack"}),
         [](const Scene& s) {
             EXPECT_EQ(fs::status(s.work / kSim).permissions(), fs::perms(0444));
             expect_pack_files_as_a_clean_run(s);
         }},

        // railscen compile.
        {"two compiles at once into one folder",
         [](const Scene& s) {
             with_sources(s);
             fs::create_directory(s.work / "out");
         },
         kTwoCompiles, 0, "", with(sources, in("out", kBinaries)),
         [](const Scene& s) {
             expect_both_succeeded(s);
             expect_binaries_in(s.work / "out");
         }},
        {"compile under a file-size limit",
         [](const Scene& s) {
             with_sources(s);
             fs::create_directory(s.work / "out");
         },
         "ulimit -f 1000; railscen compile " + kNamed + "L.txt T.txt -o out", 2,
         "railscen: cannot write \"out/" + kPlan + "\": File too large\n", with(sources, {"out"}),
         expect_sources_untouched},
        {"compile with --report naming the line description", with_sources,
         "railscen compile " + kNamed + "L.txt T.txt --report L.txt", 2,
         "railscen: the output \"L.txt\" is the input \"L.txt\"" + kNotOverInputs, sources,
         expect_sources_untouched},
        {"compile into a hard link of the line description, spelled ./L.txt",
         [](const Scene& s) {
             with_sources(s);
             fs::create_directory(s.work / "out");
             fs::create_hard_link(s.work / "L.txt", s.work / "out" / kSim);
         },
         "railscen compile " + kNamed + "./L.txt T.txt -o out", 2,
         "railscen: the output \"out/" + kSim + "\" is the input \"./L.txt\"" + kNotOverInputs,
         with(sources, {"out", "out/" + kSim}), expect_sources_untouched},
        {"compile with a mistyped train file over earlier outputs",
         [](const Scene& s) {
             with_sources(s);
             with_binaries(s.work / "good");
         },
         "railscen compile " + kNamed + "L.txt 'T .txt' -o good", 2,
         "railscen: cannot read \"T .txt\": No such file or directory\n",
         with(sources, in("good", kBinaries)),
         [](const Scene& s) { expect_binaries_in(s.work / "good"); }},
        {"compile with a folder given as the train",
         [](const Scene& s) {
             with_sources(s);
             with_binaries(s.work / "good");
         },
         "railscen compile " + kNamed + "L.txt good -o good", 2,
         "railscen: cannot read \"good\": it is a folder\n", with(sources, in("good", kBinaries)),
         [](const Scene& s) { expect_binaries_in(s.work / "good"); }},
        {"compile without the line description",
         [](const Scene& s) {
             with_sources(s);
             fs::create_directory(s.work / "out");
         },
         "railscen compile " + kNamed + "absent.txt T.txt -o out", 2,
         "railscen: cannot read \"absent.txt\": No such file or directory\n",
         with(sources, {"out"})},
        // One rule for the output folder: a missing one, or a file given as one, fails before
        // anything is written, and no folder is made of a mistyped name.
        {"compile into a missing folder", with_sources,
         "railscen compile " + kNamed + "L.txt T.txt -o outt", 2,
         "railscen: cannot write \"outt/" + kPlan + "\": No such file or directory\n", sources},
        {"documents into a file given as the folder", with_sources,
         "railscen documents " + kNamed + "L.txt T.txt -o L.txt", 2,
         "railscen: cannot write \"L.txt/" + fs::path(kSim).stem().string() +
             "_scheda_treno.txt\": \"L.txt\" is not a folder\n",
         sources, expect_sources_untouched},
        {"watch into a missing folder", with_sources,
         "railscen watch " + kNamed + "L.txt T.txt -o outt", 2,
         "railscen: cannot write \"outt/" + kPlan + "\": No such file or directory\n", sources},
        {"compile of a train description nobody may read",
         [](const Scene& s) {
             with_sources(s);
             fs::create_directory(s.work / "out");
             fs::permissions(s.work / "T.txt", fs::perms::none);
         },
         "railscen compile " + kNamed + "L.txt T.txt -o out", 2,
         "railscen: cannot read \"T.txt\": Permission denied\n", with(sources, {"out"}),
         [](const Scene&) {}, true},
        {"compile into a folder it may not write",
         [](const Scene& s) {
             with_sources(s);
             fs::create_directory(s.work / "out");
             read_only_for_others(s.work / "out");
         },
         "railscen compile " + kNamed + "L.txt T.txt -o out", 2,
         "railscen: cannot write \"out/" + kPlan + "\": Permission denied\n",
         with(sources, {"out"}), [](const Scene&) {}, true},
        {"compile with a folder at the scenario file's name",
         [](const Scene& s) {
             with_sources(s);
             fs::create_directories(s.work / "out" / kSim);
         },
         "railscen compile " + kNamed + "L.txt T.txt -o out", 2,
         "railscen: cannot write \"out/" + kSim + "\": a folder has that name\n",
         with(sources, {"out", "out/" + kSim})},
        {"compile with a symlink at an output name",
         [](const Scene& s) {
             with_sources(s);
             fs::create_directory(s.work / "out");
             with_victim(s, "out/" + kSim);
         },
         "railscen compile " + kNamed + "L.txt T.txt -o out", 0, "",
         with(sources, in("out", kBinaries)),
         [](const Scene& s) {
             expect_victim_untouched(s);
             expect_binaries_in(s.work / "out");
         }},
        {"compile with a symlink at the old temporary name",
         [](const Scene& s) {
             with_sources(s);
             fs::create_directory(s.work / "out");
             with_victim(s, "out/" + kSim + ".partial");
         },
         "railscen compile " + kNamed + "L.txt T.txt -o out", 0, "",
         with(sources, in("out", {kPlan, kSim, kCells, kSim + ".partial"})),
         [](const Scene& s) {
             expect_victim_untouched(s);
             expect_binaries_in(s.work / "out");
         }},
        {"compile with a line name that climbs out of the folder", with_sources,
         "railscen compile L.txt T.txt --line-name ../../esc", 2,
         "railscen: --line-name: a path separator (/ or \\) may not stand in a name\n"
         "Run with --help for more information.\n",
         sources},
        {"compile with the line name ..", with_sources,
         "railscen compile L.txt T.txt --line-name ..", 2,
         "railscen: --line-name: \"..\" names a folder\nRun with --help for more information.\n",
         sources},
        {"compile with an escape byte in the train name", with_sources,
         "railscen compile L.txt T.txt --train-name \"$(printf 'a\\033]0;x\\007')\"", 2,
         "railscen: --train-name: a control byte may not stand in a name\n"
         "Run with --help for more information.\n",
         sources},
        {"compile with a colon in the train name", with_sources,
         "railscen compile L.txt T.txt --train-name 'R:1'", 2,
         "railscen: --train-name: none of <>:\"|?* may stand in a name (found :)\n"
         "Run with --help for more information.\n",
         sources},
        {"compile of a bad record holding escape bytes",
         [](const Scene& s) {
             put(s.work / "L.txt", testing::line_text({
                                       "indicatori_vmax,  2750,  100,  100,  105,  0,  100,  "
                                       "100,  105,  0",
                                       "cartello_indicatore,  2750,  \x1b]0;owned\x07\x1b[2J",
                                   }));
             put(s.work / "T.txt", testing::train_text({}));
             fs::create_directory(s.work / "out");
         },
         "railscen compile " + kNamed + "L.txt T.txt -o out",
         1,
         "L.txt:8:23: error 6: sign board cell already occupied by a speed board (at 2750 m)",
         {"L.txt", "T.txt", "out", "out/" + kPlan, "out/" + kSim, "out/" + kCells},
         [](const Scene&) {},
         false,
         false},

        // railscen sources, render and inspect.
        {"sources a second time over an edited description",
         [](const Scene& s) {
             put(s.work / kNames.line_description, "the author's edit");
             put(s.work / kNames.notes_sheet, "notes");
         },
         "railscen sources .",
         2,
         "railscen sources: these files are there already and are left as they are (--force "
         "replaces them):\n  ./" +
             kNames.line_description.string() + "\n  ./" + kNames.notes_sheet.string() + "\n",
         {kNames.line_description, kNames.notes_sheet},
         [](const Scene& s) {
             EXPECT_EQ(read_bytes(s.work / kNames.line_description), "the author's edit");
         }},
        {"sources --force over an edited description",
         [](const Scene& s) { put(s.work / kNames.line_description, "the author's edit"); },
         "railscen sources . --force >../stdout",
         0,
         "",
         {kNames.line_description, kNames.notes_sheet, kNames.slowdown_form, kNames.timetable_sheet,
          kNames.train_description},
         [](const Scene& s) {
             EXPECT_EQ(read_bytes(s.work / kNames.line_description), reference().line);
         }},
        {"render over its own scenario file", [](const Scene& s) { with_binaries(s.work / "out"); },
         "railscen render out -o 'out/" + kSim + "'", 2,
         "railscen render: the output \"out/" + kSim + "\" is the input \"out/" + kSim + "\"" +
             kNotOverInputs,
         in("out", kBinaries), [](const Scene& s) { expect_binaries_in(s.work / "out"); }},
        {"render of a scenario file whose line name leads out of the folder",
         [](const Scene& s) {
             fs::create_directory(s.work / "out");
             put(s.work / "out" / "x.sim", crafted_scenario("A", "../x"));
         },
         "railscen render out -o pic.svg",
         2,
         "railscen render: out/x.sim: the line name \"../x\" cannot make a file name: a path "
         "separator (/ or \\) may not stand in a name\n",
         {"out", "out/x.sim"}},
        {"inspect of a station text holding escape bytes",
         [](const Scene& s) { put(s.work / "x.sim", crafted_scenario("A\x1b[2JB", "L")); },
         "railscen inspect x.sim --slot 1 >../stdout",
         0,
         "",
         {"x.sim"},
         [](const Scene& s) {
             const std::string shown = read_bytes(s.root.path() / "stdout");
             EXPECT_NE(shown.find("\"A\\x1b[2JB\""), std::string::npos) << shown;
             EXPECT_EQ(shown.find('\x1b'), std::string::npos);
         }},
        {"inspect of a truncated cell file",
         [](const Scene& s) { put(s.work / "x.dat", std::string(20, '\0')); },
         "railscen inspect x.dat",
         2,
         "railscen inspect: x.dat: cell file: holds 20 bytes, not a whole number of 15-byte "
         "cells\n",
         {"x.dat"}},
        {"inspect of a plan file larger than any line makes",
         [](const Scene& s) {
             put(s.work / "x_linea.dat", "");
             fs::resize_file(s.work / "x_linea.dat", 30000000);  // sparse: no disk taken
         },
         "railscen inspect x_linea.dat",
         2,
         "railscen inspect: cannot read \"x_linea.dat\": it holds 30000000 bytes, more than the "
         "20140020 it can hold\n",
         {"x_linea.dat"}},
        {"inspect of a scenario file with a text running past its end",
         [](const Scene& s) {
             std::string sim = crafted_scenario("A", "L");
             sim[14] = '\xff';  // slot 0's text length, after 14 bytes: 32767
             sim[15] = '\x7f';
             put(s.work / "x.sim", sim);
         },
         "railscen inspect x.sim",
         2,
         "railscen inspect: x.sim: scenario file: ",
         {"x.sim"},
         [](const Scene&) {},
         false,
         false},
    };
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

TEST(Reliability, EachFaultEndsWithItsStatusMessageAndFolder) {
    reference();
    const std::optional<std::string> unprivileged = unprivileged_prefix();
    const std::string tool_folder = fs::path(RAILSCEN_PATH).parent_path().string();
    for (const Fault& f : faults()) {
        SCOPED_TRACE(f.what);
        if (f.unprivileged && !unprivileged) {
            std::cout << "skipped (no unprivileged user to run as): " << f.what << '\n';
            continue;
        }
        Scene s;
        f.prepare(s);
        // A user who is not root reaches the folders through the temporary root.
        if (f.unprivileged) fs::permissions(s.root.path(), fs::perms(0755));
        const std::string work = fs::weakly_canonical(s.work).string();
        const std::string prefix = f.unprivileged ? *unprivileged : "";
        // The unprivileged user runs a copy of the tool, which it may not reach where it was built.
        std::string bin = tool_folder;
        if (f.unprivileged) {
            bin = (s.root.path() / "bin").string();
            fs::create_directory(bin);
            fs::copy_file(RAILSCEN_PATH, fs::path(bin) / "railscen");
        }
        const std::string command =
            "cd " + testing::shell_quoted(s.work.string()) +
            " && PATH=" + testing::shell_quoted(bin) + ":$PATH; " +
            (f.unprivileged ? prefix + "sh -c " + testing::shell_quoted(f.command) : f.command);
        const std::string full =
            "(" + command + ") 2>" + testing::shell_quoted((s.root.path() / "stderr").string());
        const int raw = std::system(("bash -c " + testing::shell_quoted(full)).c_str());
        const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        const std::string err = read_bytes(s.root.path() / "stderr");

        EXPECT_EQ(status, f.status) << err;
        const std::string message = replaced(f.message, "{work}", work);
        if (f.whole_message) {
            EXPECT_EQ(err, message);
        } else {
            EXPECT_EQ(err.substr(0, message.size()), message) << err;
        }
        std::vector<std::string> after = f.after;
        std::sort(after.begin(), after.end());
        EXPECT_EQ(entries(s.work), after);
        f.check(s);
        // Give the folders back for removal.
        for (const auto& e : fs::recursive_directory_iterator(s.root.path())) {
            if (e.is_directory() && !e.is_symlink())
                fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
        }
        fs::permissions(s.work, fs::perms::owner_all, fs::perm_options::add);
    }
}

}  // namespace
}  // namespace railscen
