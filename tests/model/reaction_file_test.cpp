#include "model/reaction_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/full_disk.h"
#include "tests/support/has_text.h"

namespace {

using Bytes = std::vector<unsigned char>;

class ReactionFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tarvolin_rxn_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/tarvolin.rxn";
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0700);
    for (const auto& name : FolderEntries()) std::remove((dir_ + "/" + name).c_str());
    rmdir(dir_.c_str());
  }

  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir_.c_str())) {
      while (dirent* e = readdir(d))
        if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, "..")) names.push_back(e->d_name);
      closedir(d);
    }
    return names;
  }
  Bytes Read() const {
    std::ifstream in(path_, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  void Write(const Bytes& bytes) const {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  std::string dir_;
  std::string path_;
};

std::unique_ptr<TReaction> Sample(const std::string& question, int32_t type) {
  auto r = std::make_unique<TReaction>(question, type);
  r->reactants[0].SetFormula("Ag");
  r->reactants[0].charge = 1;
  r->reactants[1].SetFormula("Cl");
  r->reactants[1].charge = -1;
  r->products[0].SetFormula("AgCl");
  return r;
}

uint32_t U32At(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST_F(ReactionFileTest, RecordLayoutToTheByte) {
  TReactionList list;
  list.push_back(Sample("Mix silver nitrate and sodium chloride.", 0));
  auto second = std::make_unique<TReaction>(std::string(99, 'q'), 3);
  second->products[1].SetFormula("SO4");  // product slot 0 empty, slot 1 filled
  second->products[1].charge = -2;
  second->reactants[4].SetFormula("Ca(OH)2");
  list.push_back(std::move(second));
  ASSERT_TRUE(WriteReactionFile(list, path_));

  const Bytes b = Read();
  ASSERT_EQ(b.size(), 4 + 2 * 244u);
  EXPECT_EQ(U32At(b, 0), 2u);
  const std::size_t r0 = 4, r1 = 4 + 244;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[r0])), list[0]->Question());
  EXPECT_EQ(U32At(b, r0 + 100), 0u);
  EXPECT_EQ(std::memcmp(&b[r0 + 104], "Ag\0\0\0\0\0\0\0\0", 10), 0);  // reactant 0
  EXPECT_EQ(U32At(b, r0 + 114), 1u);
  EXPECT_EQ(std::memcmp(&b[r0 + 118], "AgCl\0\0\0\0\0\0", 10), 0);  // product 0 beside it
  EXPECT_EQ(std::memcmp(&b[r0 + 132], "Cl", 3), 0);                 // reactant 1
  EXPECT_EQ(U32At(b, r0 + 142), 0xFFFFFFFFu);

  // A 99-character question fills the field with its terminator last.
  EXPECT_EQ(b[r1 + 98], 'q');
  EXPECT_EQ(b[r1 + 99], 0);
  EXPECT_EQ(U32At(b, r1 + 100), 3u);
  EXPECT_EQ(b[r1 + 118], 0);  // product slot 0 empty
  EXPECT_EQ(std::memcmp(&b[r1 + 118 + 28], "SO4", 4), 0);
  const unsigned char minusTwo[] = {0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(std::memcmp(&b[r1 + 128 + 28], minusTwo, 4), 0);
  EXPECT_EQ(std::memcmp(&b[r1 + 104 + 4 * 28], "Ca(OH)2", 8), 0);
}

TEST_F(ReactionFileTest, RoundTripKeepsEveryByteAfterTerminators) {
  Bytes original(4 + 244);
  original[0] = 1;
  for (std::size_t i = 4; i < original.size(); ++i)
    original[i] = static_cast<unsigned char>(i * 7 + 1);
  original[4 + 10] = 0;       // question "..." then garbage after the zero
  original[4 + 104 + 3] = 0;  // reactant 0 text then garbage
  Write(original);

  TReactionList list;
  ASSERT_EQ(ReadReactionFile(list, path_), ReadResult::Ok);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->Question().size(), 10u);
  EXPECT_EQ(list[0]->reactants[0].FormulaText().size(), 3u);
  ASSERT_TRUE(WriteReactionFile(list, path_));
  EXPECT_EQ(Read(), original);
}

TEST_F(ReactionFileTest, FieldWithoutTerminatorStopsAtItsEnd) {
  Bytes bytes(4 + 244, 'A');
  bytes[0] = 1, bytes[1] = bytes[2] = bytes[3] = 0;
  Write(bytes);
  TReactionList list;
  ASSERT_EQ(ReadReactionFile(list, path_), ReadResult::Ok);
  EXPECT_EQ(list[0]->Question().size(), 100u);
  EXPECT_EQ(list[0]->reactants[2].FormulaText(), "AAAAAAAAAA");
}

TEST_F(ReactionFileTest, CountZeroAndMissingFile) {
  TReactionList list;
  list.push_back(Sample("kept", 1));
  EXPECT_EQ(ReadReactionFile(list, path_), ReadResult::CannotOpen);
  EXPECT_EQ(list.size(), 1u);
  EXPECT_EQ(ReadResultMessage(ReadResult::CannotOpen), "Cannot open tarvolin.rxn");

  Write({0, 0, 0, 0});
  TReactionList empty;
  EXPECT_EQ(ReadReactionFile(empty, path_), ReadResult::Ok);
  EXPECT_TRUE(empty.empty());

  ASSERT_TRUE(WriteReactionFile(TReactionList{}, path_));
  EXPECT_EQ(Read(), (Bytes{0, 0, 0, 0}));
}

TEST_F(ReactionFileTest, ReadAppendsInFileOrder) {
  TReactionList list;
  for (int i = 0; i < 3; ++i) list.push_back(Sample("Q" + std::to_string(i), i));
  ASSERT_TRUE(WriteReactionFile(list, path_));
  TReactionList read;
  read.push_back(Sample("already here", 4));
  ASSERT_EQ(ReadReactionFile(read, path_), ReadResult::Ok);
  ASSERT_EQ(read.size(), 4u);
  EXPECT_EQ(read[0]->Question(), "already here");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(read[i + 1]->Question(), "Q" + std::to_string(i));
    EXPECT_EQ(read[i + 1]->type, i);
    EXPECT_EQ(read[i + 1]->reactants[1].charge, -1);
  }
}

TEST_F(ReactionFileTest, DamagedFilesKeepTheCompleteRecordsOnly) {
  TReactionList three;
  for (int i = 0; i < 3; ++i) three.push_back(Sample("Q" + std::to_string(i), i));
  ASSERT_TRUE(WriteReactionFile(three, path_));
  const Bytes whole = Read();

  const struct {
    const char* name;
    Bytes bytes;
    std::size_t kept;
  } cases[] = {
      {"empty file", {}, 0},
      {"header cut", {3, 0}, 0},
      {"cut mid-record", Bytes(whole.begin(), whole.begin() + 4 + 244 + 100), 1},
      {"cut before last record", Bytes(whole.begin(), whole.end() - 244), 2},
      {"huge count",
       [&] {
         Bytes b = whole;
         b[0] = b[1] = b[2] = b[3] = 0xFF;
         return b;
       }(),
       3},
      {"huge count, header only", {0xFF, 0xFF, 0xFF, 0x7F}, 0},
  };
  for (const auto& c : cases) {
    Write(c.bytes);
    TReactionList list;
    EXPECT_EQ(ReadReactionFile(list, path_), ReadResult::Damaged) << c.name;
    ASSERT_EQ(list.size(), c.kept) << c.name;
    for (std::size_t i = 0; i < c.kept; ++i) EXPECT_EQ(list[i]->Question(), three[i]->Question());
  }
  EXPECT_TRUE(HasText(ReadResultMessage(ReadResult::Damaged), "damaged"));
}

TEST_F(ReactionFileTest, ExtraBytesAfterTheCountedRecordsAreReportedAsDamage) {
  TReactionList one;
  one.push_back(Sample("only", 0));
  ASSERT_TRUE(WriteReactionFile(one, path_));
  Bytes b = Read();
  b.resize(b.size() + 300, 0xAB);
  Write(b);
  TReactionList list;
  EXPECT_EQ(ReadReactionFile(list, path_), ReadResult::Damaged);
  EXPECT_EQ(list.size(), 1u);
  TReactionList parsed;
  EXPECT_EQ(ParseReactionFile(parsed, b.data(), b.size()), ReadResult::Damaged);
}

TEST_F(ReactionFileTest, WritingThroughALinkReplacesTheFileItNames) {
  const std::string real = dir_ + "/real.rxn";
  ASSERT_TRUE(WriteReactionFile(TReactionList{}, real));
  ASSERT_EQ(symlink("real.rxn", path_.c_str()), 0);
  TReactionList one;
  one.push_back(Sample("through the link", 1));
  ASSERT_TRUE(WriteReactionFile(one, path_));
  struct stat link {};
  ASSERT_EQ(lstat(path_.c_str(), &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode));
  TReactionList read;
  ASSERT_EQ(ReadReactionFile(read, real), ReadResult::Ok);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0]->Question(), "through the link");
}

TEST_F(ReactionFileTest, FailedWriteLeavesTheOldFileAsItWas) {
  TReactionList old;
  old.push_back(Sample("the old file", 2));
  ASSERT_TRUE(WriteReactionFile(old, path_));
  const Bytes before = Read();

  TReactionList bigger;
  for (int i = 0; i < 20; ++i) bigger.push_back(Sample("new " + std::to_string(i), 0));

  std::string error;
  bool ok = true;
  {
    TFullDisk full(1000);
    ok = WriteReactionFile(bigger, path_, &error);
  }

  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Read(), before);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"tarvolin.rxn"});  // no temporary left
}

TEST_F(ReactionFileTest, WriteIntoAMissingFolderFails) {
  std::string error;
  EXPECT_FALSE(WriteReactionFile(TReactionList{}, dir_ + "/no/such/tarvolin.rxn", &error));
  EXPECT_TRUE(HasText(error, "Cannot create"));
}

TEST_F(ReactionFileTest, ReadOnlyFolderRefusesTheWrite) {
  TReactionList old;
  old.push_back(Sample("old", 0));
  ASSERT_TRUE(WriteReactionFile(old, path_));
  const Bytes before = Read();
  chmod(dir_.c_str(), 0555);
  // Root writes into any folder, so as root the write is tried as an ordinary account.
  const passwd* nobody = getpwnam("nobody");
  if (geteuid() == 0 && !nobody) GTEST_SKIP() << "no unprivileged account to write as";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)) _exit(2);
    _exit(WriteReactionFile(TReactionList{}, path_) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  chmod(dir_.c_str(), 0700);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write went through";
  EXPECT_EQ(Read(), before);
}

TEST_F(ReactionFileTest, WriteKeepsTheModeOfAnOldFileAndGivesANewOneTheUmasksDefault) {
  // {umask while writing, mode of an existing file or 0 for none, mode expected}
  const std::array<mode_t, 3> cases[] = {{022, 0640, 0640}, {027, 0, 0640}, {002, 0, 0664}};
  for (const auto& [mask, existing, expected] : cases) {
    ::unlink(path_.c_str());
    if (existing) {
      ASSERT_TRUE(WriteReactionFile(TReactionList{}, path_));
      chmod(path_.c_str(), existing);
    }
    const mode_t saved = umask(mask);
    const bool ok = WriteReactionFile(TReactionList{}, path_);
    umask(saved);
    ASSERT_TRUE(ok);
    struct stat info {};
    ASSERT_EQ(stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, expected) << std::oct << "umask " << mask;
  }
}

// The framing every reader and writer shares: a count in the header, then whole records.
class ReactionFileFraming : public testing::TestWithParam<int> {};

TEST_P(ReactionFileFraming, HeaderCountsTheRecordsThatFollow) {
  TReactionList list;
  for (int i = 0; i < GetParam(); ++i) list.push_back(Sample("q" + std::to_string(i), i % 5));
  const std::vector<unsigned char> bytes = EncodeReactionFile(list);
  ASSERT_EQ(bytes.size(), ReactionFileSize(list.size()));
  EXPECT_EQ(bytes.size(), 4 + 244 * list.size());
  EXPECT_EQ(ReactionCountOf(bytes.data()), list.size());
  TReactionList read;
  EXPECT_EQ(ParseReactionFile(read, bytes.data(), bytes.size()), ReadResult::Ok);
  ASSERT_EQ(read.size(), list.size());
  for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i]->Question(), list[i]->Question());
}

INSTANTIATE_TEST_SUITE_P(, ReactionFileFraming, testing::Values(0, 1, 3, 300));

TEST(Reaction, ConstructorZeroFillsAndCutsTheQuestion) {
  TReaction r(std::string(150, 'x'), 9);
  EXPECT_EQ(r.Question().size(), 99u);
  EXPECT_EQ(r.question[99], 0);
  EXPECT_EQ(r.type, 9);
  for (int i = 0; i < TReaction::kSlots; ++i) {
    EXPECT_TRUE(r.reactants[i].IsEmpty());
    EXPECT_EQ(r.products[i].charge, 0);
    for (char c : r.products[i].formula) EXPECT_EQ(c, 0);
  }
  EXPECT_EQ(ReactionTypeName(3), "&Complex Ion");
  EXPECT_EQ(ReactionTypeName(9), "");
}

}  // namespace
