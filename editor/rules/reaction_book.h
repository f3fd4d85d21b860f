#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "editor/rules/my_check.h"
#include "model/file_lock.h"
#include "model/file_stamp.h"
#include "model/question_record.h"
#include "model/reaction.h"
#include "model/reaction_file.h"
#include "model/type_flags.h"

// The teacher's reactions as the editor keeps them: the stored list, which of them are listed
// and in what order, the marks that choose a printed quiz, the Add, Change and Delete edits, and
// saving them without ever destroying a file that was not read or that someone else changed
// since. It draws nothing and asks nothing: the editor view paints it and runs the dialogs.
class TReactionBook {
 public:
  enum class ReadState { Read, Missing, Unreadable, Damaged };
  enum class SaveOutcome {
    Saved,
    NotRead,         // the file on disk could not be read, so it is never replaced
    ChangedOnDisk,   // someone changed the file since it was read: the teacher decides
    WriteProtected,  // left as it was
    CopyFailed,      // a damaged file could not be kept beside before its rewrite
    Busy,            // another program was saving the file for longer than a save waits
    Failed,          // the write itself failed
  };
  struct TSaveResult {
    SaveOutcome outcome = SaveOutcome::Saved;
    std::string message;  // what to tell the teacher; may be empty after a plain save
  };

  explicit TReactionBook(std::string path = kReactionFileName);

  // Reads the file (again), replacing the list, the listing and the marks.
  ReadState Read();
  ReadState State() const { return readState_; }
  // What the last read has to tell the teacher (empty when all went well), and its caption.
  const std::string& ReadMessage() const { return readMessage_; }
  const char* ReadCaption() const;
  const std::string& Path() const { return path_; }

  const TReactionList& AllReactions() const { return allReactions_; }
  const TReactionList& ShownReactions() const { return shownReactions_; }
  const std::vector<std::unique_ptr<TMyCheck>>& CheckBoxes() const { return checkBoxes_; }
  TMyCheck* CheckBox(std::size_t row) const;
  // The index in AllReactions of the reaction listed at row.
  std::size_t StoredIndex(std::size_t row) const { return storedIndex_.at(row); }
  // The row at which the stored reaction is listed, or npos when it is not listed.
  std::size_t RowOf(std::size_t stored) const;

  const TTypeFlags& TypeFilter() const { return typeFilter_; }
  bool AllTypesListed() const;
  // Lists only the chosen types, every mark cleared.
  void SetTypeFilter(const TTypeFlags& flags);

  // The listing's line height, which places the check boxes.
  void SetLineHeight(int h);
  // Refills the listing; recreate clears every mark, else marks stay with their reactions.
  void RebuildList(bool recreate);

  // The current entry, which the keyboard moves and ticks (kNoRow when nothing is listed).
  std::size_t Current() const { return current_; }
  void SetCurrent(std::size_t row);
  // Moves the current entry by delta rows, staying within the listing.
  void MoveCurrent(int delta);
  // Ticks or unticks the current entry's box.
  void ToggleCurrent();
  std::size_t MarkedCount() const;

  // False, with the reason, while the list may not be changed (the file could not be read).
  bool CanEdit(std::string* why = nullptr) const;
  // Each edit changes the list only: Save writes it. Add returns the new reaction's row
  // (npos when it is not listed or the list may not change).
  std::size_t Add(QuestionRecord record, const TTypeFlags& flags);
  void Change(std::size_t stored, QuestionRecord record, const TTypeFlags& flags, bool changeAll);
  void Delete(std::size_t stored);
  int32_t LastAddedType() const { return lastAddedType_; }
  // What the teacher should look at again before a reaction is kept, each as a sentence: a
  // question that repeats another (case and blanks aside), an answer that cannot be balanced
  // or keyed, a formula with no element. replacing is the stored reaction a Change replaces.
  std::vector<std::string> Doubts(QuestionRecord record, const TTypeFlags& flags,
                                  std::size_t replacing = static_cast<std::size_t>(-1)) const;

  // Writes the list over the file, unless the file is not the one read. The file's lock is
  // held from that check to the new file's stamp, so another program's save never lands in
  // between unseen.
  TSaveResult Save();
  // After ChangedOnDisk: keeps the file on disk as path.changed (.changed.2, ...) and saves.
  TSaveResult SaveKeepingDiskCopy();
  // True while the list holds a change that the file does not.
  bool Unsaved() const { return unsaved_; }

  // A single-choice flag array for a stored type; codes outside 0..3 read as Miscellaneous.
  static TTypeFlags FlagsOfType(int32_t type);

 private:
  std::vector<const TReaction*> MarkedReactions() const;
  void RestoreMarks(const std::vector<const TReaction*>& marked);
  void AfterEdit(const std::vector<const TReaction*>& marked);
  TSaveResult Write(const TFileLock& lock);
  TSaveResult Refused(const TWriteError& error, const std::string& damagedCopy = {});
  std::string FailureText(const TWriteError& error) const;

  std::string path_;
  TReactionList allReactions_;
  TReactionList shownReactions_;
  std::vector<std::size_t> storedIndex_;
  std::vector<std::unique_ptr<TMyCheck>> checkBoxes_;
  TTypeFlags typeFilter_ = {1, 1, 1, 1, 1};
  int lineHeight_ = 1;
  int32_t lastAddedType_ = Precipitation;
  std::size_t current_ = static_cast<std::size_t>(-1);

  ReadState readState_ = ReadState::Missing;
  std::string readMessage_;
  std::string readFailure_;  // why the file could not be read, while edits are refused
  TFileStamp stamp_;         // the file as last read or written
  bool keepDamagedCopy_ = false;
  bool unsaved_ = false;
};
