// The tool as a teacher runs it: each row starts it in a folder of its own with some files,
// and checks its exit status, what it says, and which files it left alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "model/reaction_file.h"
#include "tarvolin_version.h"
#include "tests/support/has_text.h"
#include "tests/support/working_folder.h"

namespace {

void Spill(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The tool under test; TARVOLIN_RXN_TOOL runs the same rows on another build of it.
std::string Tool() {
  const char* other = std::getenv("TARVOLIN_RXN_TOOL");
  return other ? other : TARVOLIN_RXN;
}

std::string ReactionFileBytes(const std::vector<std::pair<std::string, std::string>>& rows) {
  TReactionList list;
  for (const auto& [question, formula] : rows) {
    list.push_back(std::make_unique<TReaction>(question, 0));
    list.back()->reactants[0].SetFormula(formula);
    list.back()->products[0].SetFormula(formula);
  }
  // Built before any test runs, in each of the processes that run tests side by side.
  const std::string path =
      testing::TempDir() + "/rxn_tool_scratch." + std::to_string(::getpid()) + ".rxn";
  if (!WriteReactionFile(list, path)) return {};
  std::string bytes = ReadWholeFile(path);
  std::remove(path.c_str());
  return bytes;
}

const std::string kTwoReactions = ReactionFileBytes({{"One.", "Ag"}, {"Two.", "Cu"}});
const std::string kTwoReactionsBroken = ReactionFileBytes({{"One.", "Ag"}, {"Two\nlines", "Cu"}});
const std::string kBank =
    "# two reactions\n"
    "Precipitation | Silver and chloride. | Ag{+} + Cl{-} -> AgCl\n"
    "Redox | Copper in silver nitrate. | Cu + Ag{+} -> Cu{2+} + Ag\n";
// Long enough to hold 69 whole records when read as a reaction file.
const std::string kBigBank = [] {
  std::string text = "# many\n";
  for (int i = 0; i < 300; ++i)
    text += "Precipitation | Silver and chloride, take " + std::to_string(i) +
            ". | Ag{+} + Cl{-} -> AgCl\n";
  return text;
}();

struct TRun {
  const char* name;
  std::map<std::string, std::string> files;
  std::string setup;  // shell commands run first in the folder
  std::string args;
  int status;
  std::vector<std::string> says = {};     // each in what it printed
  std::vector<std::string> never = {};    // none of these
  std::vector<std::string> kept = {};     // files left byte for byte
  std::vector<std::string> missing = {};  // files it must not create
  int most_lines = 0;                     // when set, at most this many lines printed
  std::string after = {};                 // shell commands that must succeed afterwards
};

std::ostream& operator<<(std::ostream& out, const TRun& run) {
  return out << run.name;
}

class RxnTool : public testing::TestWithParam<TRun> {};

TEST_P(RxnTool, Runs) {
  const TRun& run = GetParam();
  const std::string dir = testing::TempDir() + "/rxn_tool_" + run.name;
  ASSERT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
  std::map<std::string, std::string> before;
  for (const auto& [name, bytes] : run.files) Spill(dir + "/" + name, bytes);
  if (!run.setup.empty()) {
    ASSERT_EQ(std::system(("cd '" + dir + "' && " + run.setup).c_str()), 0);
  }
  for (const std::string& name : run.kept) before[name] = ReadWholeFile(dir + "/" + name);
  const int raw =
      std::system(("cd '" + dir + "' && '" + Tool() + "' " + run.args + " >out.log 2>&1").c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  const std::string said = ReadWholeFile(dir + "/out.log");
  EXPECT_EQ(WEXITSTATUS(raw), run.status) << said;
  for (const std::string& text : run.says)
    EXPECT_TRUE(HasText(said, text)) << "no \"" << text << "\" in:\n" << said;
  for (const std::string& text : run.never)
    EXPECT_EQ(said.find(text), std::string::npos) << "\"" << text << "\" in:\n" << said;
  for (const std::string& name : run.kept)
    EXPECT_EQ(ReadWholeFile(dir + "/" + name), before[name]) << name << " changed";
  for (const std::string& name : run.missing) {
    struct stat info {};
    EXPECT_NE(::stat((dir + "/" + name).c_str(), &info), 0) << name << " was written";
  }
  if (!run.after.empty()) {
    EXPECT_EQ(std::system(("cd '" + dir + "' && " + run.after).c_str()), 0) << run.after;
  }
  if (run.most_lines > 0) {
    EXPECT_LE(std::count(said.begin(), said.end(), '\n'), run.most_lines) << said;
  }
}

// Neither command writes over its own input or over a file of the other kind.
INSTANTIATE_TEST_SUITE_P(
    NeverDestroysABank, RxnTool,
    testing::Values(TRun{"export_over_itself",
                         {{"bank.rxn", kTwoReactions}},
                         "",
                         "export bank.rxn bank.rxn",
                         1,
                         {"being read"},
                         {},
                         {"bank.rxn"}},
                    TRun{"export_over_a_link_to_itself",
                         {{"bank.rxn", kTwoReactions}},
                         "ln bank.rxn other.name",
                         "export --force bank.rxn other.name",
                         1,
                         {"being read"},
                         {},
                         {"bank.rxn"}},
                    TRun{"import_over_itself",
                         {{"bank.txt", kBank}},
                         "",
                         "import --force bank.txt bank.txt",
                         1,
                         {"being read"},
                         {},
                         {"bank.txt"}},
                    TRun{"export_with_names_swapped",
                         {{"mybank.txt", kBigBank}, {"tarvolin.rxn", kTwoReactions}},
                         "",
                         "export mybank.txt tarvolin.rxn",
                         1,
                         {"tarvolin.rxn"},
                         {},
                         {"tarvolin.rxn", "mybank.txt"},
                         {},
                         3},
                    TRun{"export_over_a_reaction_file",
                         {{"a.rxn", kTwoReactions}},
                         "cp a.rxn b.rxn",
                         "export a.rxn b.rxn",
                         1,
                         {"--force"},
                         {},
                         {"b.rxn"}},
                    TRun{"export_over_a_damaged_reaction_file",
                         {{"a.rxn", kTwoReactions}, {"b.rxn", kTwoReactions.substr(0, 300)}},
                         "",
                         "export a.rxn b.rxn",
                         1,
                         {"--force"},
                         {},
                         {"b.rxn"}},
                    TRun{"export_forced_over_a_reaction_file",
                         {{"a.rxn", kTwoReactions}},
                         "cp a.rxn b.rxn",
                         "export --force a.rxn b.rxn",
                         0,
                         {"2 reactions written to b.rxn"}},
                    TRun{"import_over_a_text_bank",
                         {{"new.txt", kBank}, {"old.txt", kBigBank}},
                         "",
                         "import new.txt old.txt",
                         1,
                         {"--force"},
                         {},
                         {"old.txt"}},
                    TRun{"import_forced_over_a_text_bank",
                         {{"new.txt", kBank}, {"old.txt", kBigBank}},
                         "",
                         "import --force new.txt old.txt",
                         0,
                         {"2 reactions written to old.txt"}}),
    [](const testing::TestParamInfo<TRun>& info) { return std::string(info.param.name); });

// A file that is plainly not a reaction file gets one message; export's errors name the file
// read and the reaction.
INSTANTIATE_TEST_SUITE_P(
    SaysWhatIsWrongOnce, RxnTool,
    testing::Values(TRun{"export_of_text",
                         {{"bank.txt", kBigBank}},
                         "",
                         "export bank.txt out.txt",
                         1,
                         {"bank.txt: is not a reaction file"},
                         {"reaction 69"},
                         {"bank.txt"},
                         {"out.txt"},
                         2},
                    TRun{"export_of_no_whole_record",
                         {{"short.rxn", std::string("\1\0\0\0abcdef", 10)}},
                         "",
                         "export short.rxn out.txt",
                         1,
                         {"short.rxn: is not a reaction file", "no complete reaction"},
                         {},
                         {},
                         {"out.txt"},
                         1},
                    TRun{"export_of_three_bytes",
                         {{"tiny.rxn", "abc"}},
                         "",
                         "export tiny.rxn out.txt",
                         1,
                         {"tiny.rxn: is not a reaction file"},
                         {},
                         {},
                         {"out.txt"},
                         2},
                    TRun{"check_of_a_reaction_file",
                         {{"bank.rxn", kTwoReactions}},
                         "",
                         "check bank.rxn",
                         1,
                         {"bank.rxn: is not a bank's text"},
                         {"bank.rxn:2"},
                         {},
                         {},
                         2},
                    TRun{"export_error_names_the_reaction",
                         {{"bank.rxn", kTwoReactionsBroken}},
                         "",
                         "export bank.rxn out.txt",
                         1,
                         {"bank.rxn: error: reaction 2: "},
                         {"out.txt:5"},
                         {},
                         {"out.txt"}}),
    [](const testing::TestParamInfo<TRun>& info) { return std::string(info.param.name); });

// A pipe or a device is written through, never replaced by a file renamed over it.
INSTANTIATE_TEST_SUITE_P(
    IntoAPipe, RxnTool,
    testing::Values(TRun{"export_into_a_pipe",
                         {{"bank.rxn", kTwoReactions}},
                         "mkfifo out.fifo && (timeout 10 cat out.fifo > got.txt &)",
                         "export bank.rxn out.fifo",
                         0,
                         {"2 reactions written to out.fifo"},
                         {},
                         {},
                         {},
                         0,
                         "test -p out.fifo && sleep 0.2 && grep -q 'One' got.txt"},
                    TRun{"import_into_a_pipe",
                         {{"bank.txt", kBank}},
                         "mkfifo out.fifo && (timeout 10 cat out.fifo > got.rxn &)",
                         "import bank.txt out.fifo",
                         0,
                         {"2 reactions written to out.fifo"},
                         {},
                         {},
                         {},
                         0,
                         "test -p out.fifo && sleep 0.2 && test $(stat -c %s got.rxn) = 492"}),
    [](const testing::TestParamInfo<TRun>& info) { return std::string(info.param.name); });

// Another program saving the file (flock(1) holds its lock as a save does): a short save is
// waited for, a long one is told after a few seconds, and its file is left to it.
INSTANTIATE_TEST_SUITE_P(
    WhileAnotherProgramSaves, RxnTool,
    testing::Values(TRun{"import_while_another_program_saves",
                         {{"bank.txt", kBank}, {"bank.rxn", kTwoReactions}},
                         "(flock bank.rxn.lock sleep 10 >/dev/null 2>&1 &) && sleep 0.3",
                         "import bank.txt bank.rxn",
                         1,
                         {"bank.rxn is being saved by another program; try again"},
                         {"written"},
                         {"bank.rxn"},
                         {},
                         0,
                         "test -e bank.rxn.lock && ! flock -n bank.rxn.lock true"},
                    TRun{"export_after_a_short_save",
                         {{"bank.rxn", kTwoReactions}},
                         "(flock out.txt.lock sleep 1 >/dev/null 2>&1 &) && sleep 0.3",
                         "export bank.rxn out.txt",
                         0,
                         {"2 reactions written to out.txt"}}),
    [](const testing::TestParamInfo<TRun>& info) { return std::string(info.param.name); });

// A one-line summary, and no file with no reaction unless asked for; --version says only the
// version, whatever else the command line asks.
INSTANTIATE_TEST_SUITE_P(
    Summaries, RxnTool,
    testing::Values(TRun{"import_summary",
                         {{"bank.txt", kBank}},
                         "",
                         "import bank.txt out.rxn",
                         0,
                         {"2 reactions written to out.rxn\n"}},
                    TRun{"export_summary",
                         {{"bank.rxn", kTwoReactions}},
                         "",
                         "export bank.rxn out.txt",
                         0,
                         {"2 reactions written to out.txt\n"}},
                    TRun{"one_passes",
                         {{"one.txt", "AcidBase | Acid and base. | H{+} + OH{-} -> H2O\n"}},
                         "",
                         "check one.txt",
                         0,
                         {"1 reaction passes:"}},
                    TRun{"import_of_nothing",
                         {{"none.txt", "# nothing yet\n"}},
                         "",
                         "import none.txt out.rxn",
                         1,
                         {"--allow-empty"},
                         {},
                         {},
                         {"out.rxn"}},
                    TRun{"import_of_nothing_allowed",
                         {{"none.txt", "# nothing yet\n"}},
                         "",
                         "import --allow-empty none.txt out.rxn",
                         0,
                         {"0 reactions written to out.rxn"}},
                    TRun{"export_of_nothing",
                         {{"none.rxn", std::string(4, '\0')}},
                         "",
                         "export none.rxn out.txt",
                         1,
                         {"--allow-empty"},
                         {},
                         {},
                         {"out.txt"}},
                    TRun{"version",
                         {},
                         "",
                         "--version",
                         0,
                         {"tarvolin-rxn " + std::string(kTarvolinVersion) + "\n"},
                         {"usage"},
                         {},
                         {},
                         1},
                    TRun{"version_instead_of_a_command",
                         {{"bank.txt", kBank}},
                         "",
                         "import bank.txt out.rxn --version",
                         0,
                         {"tarvolin-rxn " + std::string(kTarvolinVersion) + "\n"},
                         {"written"},
                         {},
                         {"out.rxn"},
                         1}),
    [](const testing::TestParamInfo<TRun>& info) { return std::string(info.param.name); });

// What the checks refuse through the tool, and what check -v prints.
INSTANTIATE_TEST_SUITE_P(
    Checks, RxnTool,
    testing::Values(
        TRun{"question_of_blanks",
             {{"b.txt", kBank + "Redox | \"   \" | Zn + Cu{2+} -> Zn{2+} + Cu\n"}},
             "",
             "check b.txt",
             1,
             {"b.txt:4: error: the question is only blanks"}},
        TRun{"false_accept",
             {{"b.txt",
               "Redox | A false accept. | N438865O{+} + NO2252626 -> N785455O9{-} + N7982O25\n"}},
             "",
             "check -v b.txt",
             1,
             {"b.txt:1: error: the equation cannot be balanced"},
             {"+ -", ": -"}},
        TRun{"eight_digit_subscript",
             {{"b.txt", "Miscellaneous | Long. | H22222222 -> H22222222\n"}},
             "",
             "check -v b.txt",
             0,
             {"b.txt:1: H22222222 -> H22222222\n", "1 reaction passes"},
             {"cannot stand here"}},
        TRun{"least_charge",
             {{"b.txt", "Miscellaneous | Least. | Fe{2147483648-} -> Fe{2147483648-}\n"}},
             "",
             "check --lenient -v b.txt",
             0,
             {"b.txt:1: Fe{2147483648-} -> Fe{2147483648-}\n", "Fe{2147483648-} has 2147483648"},
             {"2147483647"}},
        TRun{"empty_parentheses",
             {{"b.txt", kBank + "Precipitation | Chalk. | Ca{2+} + CO3{2-} -> Ca()2CO3\n" +
                            "Miscellaneous | Nothing. | ()2 -> ()2\n"}},
             "",
             "check b.txt",
             1,
             {"b.txt:4: error: the formula Ca()2CO3", "b.txt:5: error: the formula ()2",
              "holds no element"}},
        TRun{"type_codes_outside_the_five",
             {{"b.txt", kBank + "5 | Five. | Zn + Cu{2+} -> Zn{2+} + Cu\n" +
                            "255 | Many. | Fe + Cu{2+} -> Fe{2+} + Cu\n"}},
             "",
             "import b.txt out.rxn",
             1,
             {"b.txt:4: error: type code 5", "b.txt:5: error: type code 255"},
             {},
             {},
             {"out.rxn"}},
        TRun{"balance_not_unique",
             {{"b.txt",
               "Redox | Permanganate and peroxide. | MnO4{-} + H2O2 + H{+} -> Mn{2+} + "
               "O2 + H2O\n"}},
             "",
             "check -v b.txt",
             0,
             {"independent"},
             {"2 MnO4"}}),
    [](const testing::TestParamInfo<TRun>& info) { return std::string(info.param.name); });

}  // namespace
