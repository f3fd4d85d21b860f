// The teacher's reaction book without a window: what it refuses, and that saving never
// destroys a file it did not read, that someone else changed since, or is saving now.
#include "editor/rules/reaction_book.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "model/reaction_file.h"
#include "tests/support/has_text.h"
#include "tests/support/lock_holder.h"
#include "tests/support/patience.h"
#include "tests/support/working_folder.h"

namespace {

using Outcome = TReactionBook::SaveOutcome;

TReactionList Reactions(std::initializer_list<std::pair<const char*, int32_t>> rows) {
  TReactionList list;
  for (const auto& [question, type] : rows) {
    list.push_back(std::make_unique<TReaction>(question, type));
    list.back()->reactants[0].SetFormula("Ag");
    list.back()->reactants[0].charge = 1;
    list.back()->products[0].SetFormula("AgCl");
  }
  return list;
}

QuestionRecord Record(const char* question) {
  QuestionRecord record;
  record.SetQuestion(question);
  record.SetFormula(true, 0, "Zn");
  record.SetCharge(true, 0, "2+");
  record.SetFormula(false, 0, "Zn");
  record.SetCharge(false, 0, "2+");
  return record;
}

const TTypeFlags kRedox = {0, 0, 1, 0, 0};

class ReactionBookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteReactionFile(Reactions({{"One.", 0}, {"Two.", 2}, {"Three.", 1}})));
  }

  TWorkingFolder folder_;
};

TEST_F(ReactionBookTest, AFileThatIsThereButCannotBeReadIsNeverReplaced) {
  // A folder where the file should be fails the read for every user, root included.
  std::filesystem::remove("tarvolin.rxn");
  std::filesystem::create_directory("tarvolin.rxn");
  TReactionBook book;
  EXPECT_EQ(book.Read(), TReactionBook::ReadState::Unreadable);
  EXPECT_TRUE(HasText(book.ReadMessage(), "is there but cannot be read (Is a directory)"))
      << book.ReadMessage();
  std::string why;
  EXPECT_FALSE(book.CanEdit(&why));
  EXPECT_TRUE(HasText(why, "cannot be added, changed or deleted"));
  EXPECT_EQ(book.Add(Record("New."), kRedox), std::string::npos);
  EXPECT_TRUE(book.AllReactions().empty());
  EXPECT_EQ(book.Save().outcome, Outcome::NotRead);
  EXPECT_TRUE(std::filesystem::is_directory("tarvolin.rxn"));

  // A file that is simply missing is another matter: the first Add starts a new list.
  std::filesystem::remove("tarvolin.rxn");
  EXPECT_EQ(book.Read(), TReactionBook::ReadState::Missing);
  EXPECT_EQ(book.ReadMessage(), "Cannot open tarvolin.rxn");
  EXPECT_EQ(book.Add(Record("New."), kRedox), 0u);
  EXPECT_EQ(book.Save().outcome, Outcome::Saved);
  TReactionList file;
  ASSERT_EQ(ReadReactionFile(file), ReadResult::Ok);
  EXPECT_EQ(file.size(), 1u);
}

TEST_F(ReactionBookTest, AFileChangedOnDiskSinceItWasReadIsNeverOverwrittenSilently) {
  const auto otherSave = [] {
    ASSERT_TRUE(WriteReactionFile(Reactions({{"Someone else's.", 0}})));
  };
  // Same size and time, new bytes: only the hash tells it.
  const auto inPlaceSameStamp = [] {
    struct stat before {};
    ASSERT_EQ(::stat("tarvolin.rxn", &before), 0);
    std::string bytes = ReadWholeFile("tarvolin.rxn");
    bytes[4] = 'X';
    std::fstream("tarvolin.rxn", std::ios::in | std::ios::out | std::ios::binary) << bytes;
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, "tarvolin.rxn", times, 0), 0);
  };
  const struct {
    const char* name;
    std::function<void()> change;
  } cases[] = {{"saved by another program", otherSave}, {"rewritten in place", inPlaceSameStamp}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteReactionFile(Reactions({{"One.", 0}, {"Two.", 2}, {"Three.", 1}})));
    std::filesystem::remove("tarvolin.rxn.changed");
    TReactionBook book;
    ASSERT_EQ(book.Read(), TReactionBook::ReadState::Read);
    c.change();
    const std::string theirs = ReadWholeFile("tarvolin.rxn");
    // A change of the reaction the other changed (or took away) too is theirs to decide.
    book.Change(0, Record("Mine."), kRedox, true);
    EXPECT_EQ(book.Save().outcome, Outcome::ChangedOnDisk);
    EXPECT_EQ(ReadWholeFile("tarvolin.rxn"), theirs);
    EXPECT_TRUE(book.Unsaved());

    // Keeping theirs aside: their bytes in .changed, the list in the file.
    const TReactionBook::TSaveResult kept = book.SaveKeepingDiskCopy();
    EXPECT_EQ(kept.outcome, Outcome::Saved);
    EXPECT_TRUE(HasText(kept.message, "tarvolin.rxn.changed"));
    EXPECT_EQ(ReadWholeFile("tarvolin.rxn.changed"), theirs);
    EXPECT_FALSE(book.Unsaved());
    TReactionList file;
    ASSERT_EQ(ReadReactionFile(file), ReadResult::Ok);
    EXPECT_EQ(file.size(), 3u);
    // Our own save is no change by someone else.
    book.Delete(0);
    EXPECT_EQ(book.Save().outcome, Outcome::Saved);
  }
}

// Another editor saved first; the edit made here is made again on top of that, and only an
// edit of a reaction both changed asks (then both are kept). An edit is "+" (an addition), "cN"
// (reaction N's question changed), "tN" (its type changed) or "dN" (it is deleted).
TEST_F(ReactionBookTest, EditsAreMadeAgainOnTopOfAnotherEditorsSave) {
  const struct {
    const char* theirs;
    const char* mine;
    bool asks;  // a true conflict: Save leaves it to the teacher, SaveKeepingBoth keeps both
    std::vector<std::string> file;
  } cases[] = {
      {"+", "+", false, {"One.", "Two.", "Three.", "Theirs.", "Mine."}},
      {"c0", "c1", false, {"Theirs.", "Mine.", "Three."}},
      {"d2", "d0", false, {"Two."}},
      {"d0", "d0", false, {"Two.", "Three."}},
      {"c0", "c0", true, {"Theirs.", "Two.", "Three.", "Mine."}},
      {"t0", "d0", true, {"One.", "Two.", "Three."}},
      {"d0", "c0", true, {"Two.", "Three.", "Mine."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.theirs) + " there, " + c.mine + " here");
    ASSERT_TRUE(WriteReactionFile(Reactions({{"One.", 0}, {"Two.", 2}, {"Three.", 1}})));
    TReactionBook book;
    ASSERT_EQ(book.Read(), TReactionBook::ReadState::Read);
    TReactionList other;
    ASSERT_EQ(ReadReactionFile(other), ReadResult::Ok);
    const std::size_t n = c.theirs[0] == '+' ? 0 : static_cast<std::size_t>(c.theirs[1] - '0');
    if (c.theirs[0] == '+') other.push_back(std::move(Reactions({{"Theirs.", 0}}).front()));
    if (c.theirs[0] == 'c') SetFieldText(other[n]->question, TReaction::kQuestionSize, "Theirs.");
    if (c.theirs[0] == 't') other[n]->type = 3;
    if (c.theirs[0] == 'd') other.erase(other.begin() + static_cast<long>(n));
    ASSERT_TRUE(WriteReactionFile(other));
    const std::string theirs = ReadWholeFile("tarvolin.rxn");
    const std::size_t m = c.mine[0] == '+' ? 0 : static_cast<std::size_t>(c.mine[1] - '0');
    if (c.mine[0] == '+') book.Add(Record("Mine."), kRedox);
    if (c.mine[0] == 'c') book.Change(m, Record("Mine."), kRedox, true);
    if (c.mine[0] == 'd') book.Delete(m);
    TReactionBook::TSaveResult result = book.Save();
    if (c.asks) {
      EXPECT_EQ(result.outcome, Outcome::ChangedOnDisk);
      EXPECT_TRUE(HasText(result.message, "Yes: keep both")) << result.message;
      EXPECT_EQ(ReadWholeFile("tarvolin.rxn"), theirs);
      result = book.SaveKeepingBoth();
    }
    EXPECT_EQ(result.outcome, Outcome::Saved);
    EXPECT_TRUE(HasText(result.message, "both are kept")) << result.message;
    TReactionList file;
    ASSERT_EQ(ReadReactionFile(file), ReadResult::Ok);
    std::vector<std::string> questions;
    for (const auto& reaction : file) questions.emplace_back(reaction->Question());
    EXPECT_EQ(questions, c.file);
    EXPECT_EQ(book.AllReactions().size(), file.size());
    EXPECT_FALSE(book.Unsaved());
  }
}

TEST_F(ReactionBookTest, AFileAnotherProgramIsSavingIsLeftToItAndTheChangeWaits) {
  const TPatience patience(std::chrono::milliseconds(300));
  const struct {
    const char* name;
    TReactionBook::TSaveResult (TReactionBook::*save)();
  } saves[] = {{"Save", &TReactionBook::Save},
               {"SaveKeepingDiskCopy", &TReactionBook::SaveKeepingDiskCopy}};
  for (const auto& c : saves) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteReactionFile(Reactions({{"One.", 0}, {"Two.", 2}, {"Three.", 1}})));
    TReactionBook book;
    ASSERT_EQ(book.Read(), TReactionBook::ReadState::Read);
    const std::string before = ReadWholeFile("tarvolin.rxn");
    book.Add(Record("Mine."), kRedox);
    TLockHolder other("tarvolin.rxn", TLockHolder::kUntilKilled);
    ASSERT_TRUE(other.Holding());
    const TReactionBook::TSaveResult busy = (book.*c.save)();
    EXPECT_EQ(busy.outcome, Outcome::Busy);
    EXPECT_EQ(busy.message.rfind(
                  "tarvolin.rxn is being saved by another program; try again.\n\nThe file keeps "
                  "its previous contents. Your change stays in the list",
                  0),
              0u)
        << busy.message;
    EXPECT_TRUE(book.Unsaved());
    EXPECT_EQ(ReadWholeFile("tarvolin.rxn"), before);
    EXPECT_FALSE(std::filesystem::exists("tarvolin.rxn.changed"));

    // The other program is gone (killed mid-save, its lock file left): the change is saved.
    other.Kill();
    EXPECT_EQ((book.*c.save)().outcome, Outcome::Saved);
    EXPECT_FALSE(book.Unsaved());
    TReactionList file;
    ASSERT_EQ(ReadReactionFile(file), ReadResult::Ok);
    EXPECT_EQ(file.size(), 4u);
    std::filesystem::remove("tarvolin.rxn.changed");
  }
}

TEST_F(ReactionBookTest, ANewFileBesideAnEmptyListOrAGoneFileAreToldApart) {
  // There was none when read, and now there is (an import meanwhile): ask.
  std::filesystem::remove("tarvolin.rxn");
  TReactionBook book;
  ASSERT_EQ(book.Read(), TReactionBook::ReadState::Missing);
  ASSERT_TRUE(WriteReactionFile(Reactions({{"Imported.", 0}})));
  book.Add(Record("Mine."), kRedox);
  EXPECT_EQ(book.Save().outcome, Outcome::Saved);
  TReactionList both;
  ASSERT_EQ(ReadReactionFile(both), ReadResult::Ok);
  EXPECT_EQ(both.size(), 2u);

  // Read, then removed: writing it again loses nothing.
  TReactionBook other;
  ASSERT_EQ(other.Read(), TReactionBook::ReadState::Read);
  std::filesystem::remove("tarvolin.rxn");
  other.Add(Record("Mine."), kRedox);
  EXPECT_EQ(other.Save().outcome, Outcome::Saved);

  // .changed copies are never overwritten.
  { std::ofstream("tarvolin.rxn.changed") << "an earlier copy"; }
  ASSERT_TRUE(WriteReactionFile(Reactions({{"Again.", 0}})));
  other.Change(0, Record("More."), kRedox, true);
  ASSERT_EQ(other.Save().outcome, Outcome::ChangedOnDisk);
  EXPECT_EQ(other.SaveKeepingDiskCopy().outcome, Outcome::Saved);
  EXPECT_EQ(ReadWholeFile("tarvolin.rxn.changed"), "an earlier copy");
  EXPECT_FALSE(ReadWholeFile("tarvolin.rxn.changed.2").empty());
}

TEST_F(ReactionBookTest, AWriteProtectedFileIsRefusedAndLeftByteForByte) {
  TReactionBook book;
  ASSERT_EQ(book.Read(), TReactionBook::ReadState::Read);
  const std::string before = ReadWholeFile("tarvolin.rxn");
  ASSERT_EQ(chmod("tarvolin.rxn", 0444), 0);
  book.Add(Record("New."), kRedox);
  const TReactionBook::TSaveResult result = book.Save();
  EXPECT_EQ(result.outcome, Outcome::WriteProtected);
  EXPECT_EQ(result.message.rfind("tarvolin.rxn could not be saved: the file is write-protected", 0),
            0u)
      << result.message;
  EXPECT_EQ(ReadWholeFile("tarvolin.rxn"), before);
  struct stat info {};
  ASSERT_EQ(::stat("tarvolin.rxn", &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0444u);
  EXPECT_TRUE(book.Unsaved());

  // Writable again: the change that waited is saved with the next save.
  ASSERT_EQ(chmod("tarvolin.rxn", 0644), 0);
  EXPECT_EQ(book.Save().outcome, Outcome::Saved);
  EXPECT_FALSE(book.Unsaved());
}

TEST_F(ReactionBookTest, RecordsOfNoKnownTypeInADamagedFileAreCountedAndLeftOut) {
  ASSERT_TRUE(WriteReactionFile(Reactions({{"One.", 0}, {"Bad.", 77}, {"Worse.", -3}})));
  { std::ofstream("tarvolin.rxn", std::ios::binary | std::ios::app) << "half a record"; }
  const std::string damaged = ReadWholeFile("tarvolin.rxn");
  TReactionBook book;
  EXPECT_EQ(book.Read(), TReactionBook::ReadState::Damaged);
  EXPECT_TRUE(HasText(book.ReadMessage(), "2 of the 3 records read have no known type"))
      << book.ReadMessage();
  EXPECT_EQ(book.AllReactions().size(), 1u);
  const TReactionBook::TSaveResult saved = book.Save();
  EXPECT_EQ(saved.outcome, Outcome::Saved);
  EXPECT_TRUE(HasText(saved.message, "tarvolin.rxn.damaged"));
  EXPECT_EQ(ReadWholeFile("tarvolin.rxn.damaged"), damaged);
  TReactionList file;
  ASSERT_EQ(ReadReactionFile(file), ReadResult::Ok);
  ASSERT_EQ(file.size(), 1u);
  EXPECT_EQ(file[0]->Question(), "One.");
}

TEST_F(ReactionBookTest, MarksFollowTheirReactionsAndTheGeometryPlacesTheBoxes) {
  TReactionBook book;
  book.Read();
  book.SetLineHeight(12);
  // Listing order: One. (0), Three. (1), Two. (2).
  ASSERT_EQ(book.StoredIndex(1), 2u);
  book.CheckBox(2)->SetCheck(true);  // Two.
  const std::size_t row = book.Add(Record("Added."), {1, 0, 0, 0, 0});
  EXPECT_EQ(row, 1u);
  EXPECT_EQ(book.ShownReactions()[row]->Question(), "Added.");
  EXPECT_TRUE(book.CheckBox(3)->GetCheck());
  EXPECT_FALSE(book.CheckBox(1)->GetCheck());
  for (std::size_t k = 0; k < book.CheckBoxes().size(); ++k)
    EXPECT_EQ(book.CheckBox(k)->Y(), 10 + 12 + 36 * static_cast<int>(k));
  book.Delete(book.StoredIndex(3));
  EXPECT_EQ(book.CheckBoxes().size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) EXPECT_FALSE(book.CheckBox(k)->GetCheck()) << k;
}

TEST_F(ReactionBookTest, DoubtsAreTheBankChecksAndRepeatedQuestions) {
  TReactionBook book;
  book.Read();
  QuestionRecord unbalanced = Record("Iron.");
  unbalanced.SetFormula(true, 0, "Fe");
  unbalanced.SetCharge(true, 0, "2+");
  unbalanced.SetFormula(true, 1, "OH");
  unbalanced.SetCharge(true, 1, "1-");
  unbalanced.SetFormula(false, 0, "Fe(OH)3");
  unbalanced.SetCharge(false, 0, "");
  const std::vector<std::string> doubts = book.Doubts(unbalanced, kRedox);
  ASSERT_EQ(doubts.size(), 1u);
  EXPECT_TRUE(HasText(doubts[0], "cannot be balanced")) << doubts[0];
  EXPECT_TRUE(book.Doubts(Record("A new one."), kRedox).empty());
  // A Change may keep its own question; another reaction's is a repeat.
  EXPECT_TRUE(book.Doubts(Record(" two. "), kRedox, 1).empty());
  EXPECT_EQ(book.Doubts(Record("TWO."), kRedox, 0).size(), 1u);
}

}  // namespace
