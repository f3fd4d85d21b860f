// Files are never destroyed behind the user's back: write protection is honoured, a file another
// program is saving is left to it, two saves in one folder leave each other's temporary files
// alone, and a read tells a missing file from one that is there but cannot be read.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "model/atomic_file.h"
#include "model/reaction_file.h"
#include "tests/support/has_text.h"
#include "tests/support/lock_holder.h"
#include "tests/support/patience.h"
#include "tests/support/working_folder.h"

namespace {

namespace fs = std::filesystem;

class FileSafetyTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return folder_.FilePath(name); }

  TWorkingFolder folder_;
  const fs::path& dir_ = folder_.Path();
};

// The two writers: any file whole (the heading, a bank's text), and the reaction file.
struct TWriter {
  const char* name;
  std::function<bool(const std::string&, TWriteError*)> write;
};

const TWriter kWriters[] = {
    {"tarvolin.hed",
     [](const std::string& path, TWriteError* error) {
       static const unsigned char data[] = "new";
       return WriteFileAtomically(path, data, 3, error);
     }},
    {"tarvolin.rxn",
     [](const std::string& path, TWriteError* error) {
       return WriteReactionFile(TReactionList{}, path, error, nullptr);
     }},
};

TEST_F(FileSafetyTest, AWriteProtectedFileIsLeftAsItIsWhoeverWrites) {
  for (const auto& writer : kWriters) {
    SCOPED_TRACE(writer.name);
    const std::string path = Path(writer.name);
    { std::ofstream(path) << "the teacher's own"; }
    for (mode_t mode : {0444, 0400, 0000}) {
      ASSERT_EQ(chmod(path.c_str(), mode), 0);
      TWriteError error;
      EXPECT_FALSE(writer.write(path, &error)) << std::oct << mode;
      EXPECT_EQ(error.kind, WriteFailure::WriteProtected);
      EXPECT_TRUE(HasText(error.text, "is write-protected")) << error.text;
      EXPECT_EQ(ReadWholeFile(path), "the teacher's own");
      struct stat info {};
      ASSERT_EQ(::stat(path.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 0777, mode);
    }
    // Any write bit, for anyone, lets the save through.
    ASSERT_EQ(chmod(path.c_str(), 0464), 0);
    EXPECT_TRUE(writer.write(path, nullptr));
    EXPECT_EQ(ReadWholeFile(path).empty(), false);
  }
}

TEST_F(FileSafetyTest, AFileAnotherProgramIsSavingIsLeftToItWhoeverWrites) {
  const TPatience patience(std::chrono::milliseconds(300));
  for (const auto& writer : kWriters) {
    SCOPED_TRACE(writer.name);
    const std::string path = Path(writer.name);
    { std::ofstream(path) << "the teacher's own"; }
    TLockHolder other(path, TLockHolder::kUntilKilled);
    ASSERT_TRUE(other.Holding());
    TWriteError error;
    EXPECT_FALSE(writer.write(path, &error));
    EXPECT_EQ(error.kind, WriteFailure::Busy);
    EXPECT_EQ(error.text, path + " is being saved by another program; try again");
    EXPECT_EQ(ReadWholeFile(path), "the teacher's own");
    // Killed mid-save, the other program leaves its lock file, which holds up no one.
    other.Kill();
    ASSERT_TRUE(fs::exists(path + ".lock"));
    EXPECT_TRUE(writer.write(path, &error)) << error.text;
    EXPECT_NE(ReadWholeFile(path), "the teacher's own");
    EXPECT_FALSE(fs::exists(path + ".lock"));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2)
      << "a temporary or lock file was left behind";
}

TEST_F(FileSafetyTest, OnlyARegularFileIsEverReplaced) {
  const unsigned char data[] = "x";
  const std::string fifo = Path("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const std::string folder = Path("folder");
  fs::create_directory(folder);
  fs::create_symlink(fifo, Path("link"));
  for (const std::string& path : {fifo, folder, Path("link")}) {
    TWriteError error;
    EXPECT_FALSE(WriteFileAtomically(path, data, 1, &error)) << path;
    EXPECT_EQ(error.kind, WriteFailure::CannotReplace) << path;
    EXPECT_TRUE(HasText(error.text, "is not a regular file")) << error.text;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::is_symlink(Path("link")));
}

TEST_F(FileSafetyTest, ASaveNeverRemovesTheTemporaryFileOfASaveStillRunning) {
  const std::string path = Path("tarvolin.rxn");
  // Another writer, halfway through its save: its temporary file, locked as a save locks it.
  const std::string theirs = path + ".tarvolin-save-AbC123";
  const int fd = ::open(theirs.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
  ASSERT_TRUE(WriteReactionFile(TReactionList{}, path));
  EXPECT_TRUE(fs::exists(theirs)) << "a running save lost its temporary file";
  // Once that writer is gone (killed), its file is left over and the next save clears it.
  ::close(fd);
  ASSERT_TRUE(WriteReactionFile(TReactionList{}, path));
  EXPECT_FALSE(fs::exists(theirs));

  // Two writers saving over and over at once: every save of each ends whole.
  const auto writer = [&](int32_t type) {
    TReactionList list;
    list.push_back(std::make_unique<TReaction>("Whole.", type));
    for (int i = 0; i < 300; ++i)
      if (!WriteReactionFile(list, path)) return 1;
    return 0;
  };
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(writer(1));
  EXPECT_EQ(writer(2), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  TReactionList read;
  EXPECT_EQ(ReadReactionFile(read, path), ReadResult::Ok);
  EXPECT_EQ(read.size(), 1u);
}

TEST_F(FileSafetyTest, AReadTellsAMissingFileFromOneThatCannotBeRead) {
  const std::string path = Path("tarvolin.rxn");
  TReactionList list;
  TReadInfo info;
  EXPECT_EQ(ReadReactionFile(list, path, &info), ReadResult::CannotOpen);
  EXPECT_EQ(info.errnum, ENOENT);
  EXPECT_FALSE(info.stamp.exists);

  fs::create_directory(path);
  EXPECT_EQ(ReadReactionFile(list, path, &info), ReadResult::CannotOpen);
  EXPECT_EQ(info.errnum, EISDIR);
  EXPECT_TRUE(info.stamp.exists);
  fs::remove(path);

  ASSERT_TRUE(WriteReactionFile(TReactionList{}, path));
  EXPECT_EQ(ReadReactionFile(list, path, &info), ReadResult::Ok);
  EXPECT_EQ(info.errnum, 0);
  EXPECT_TRUE(info.stamp.Matches(path));
  // A copy kept beside never takes a name already in use.
  std::string kept;
  ASSERT_TRUE(KeepCopyBeside(path, ".changed", kept));
  ASSERT_TRUE(KeepCopyBeside(path, ".changed", kept));
  EXPECT_EQ(kept, path + ".changed.2");
  EXPECT_EQ(ReadWholeFile(kept), ReadWholeFile(path));
}

}  // namespace
