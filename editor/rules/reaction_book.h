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
    ChangedOnDisk,   // someone changed the same reaction, or a file that cannot be read now,
                     // since it was read: the teacher decides
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
  // The ticked reactions, in listed order.
  std::vector<const TReaction*> MarkedReactions() const;

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

  // Writes the list over the file. When someone else saved the file since it was read, the
  // edits made here are made again on top of the file as it is now (an added reaction added, a
  // changed or deleted one changed or deleted where the other left it as it was) and that is
  // saved; only an edit of a reaction the other changed too, or a file that cannot be read now,
  // comes back as ChangedOnDisk. The file's lock is held from the check to the new file's
  // stamp, so another program's save never lands in between unseen.
  TSaveResult Save();
  // After ChangedOnDisk: keeps both. The edits are made again on top of the file as it is now,
  // and where both changed one reaction the version from here is added beside the other (a
  // reaction the other changed is not deleted); a file that cannot be read is kept beside.
  TSaveResult SaveKeepingBoth();
  // After ChangedOnDisk: keeps the file on disk as path.changed (.changed.2, ...) and saves.
  TSaveResult SaveKeepingDiskCopy();
  // True while the list holds a change that the file does not.
  bool Unsaved() const { return unsaved_; }

  // A single-choice flag array for a stored type; codes outside 0..3 read as Miscellaneous.
  static TTypeFlags FlagsOfType(int32_t type);

 private:
  void RestoreMarks(const std::vector<const TReaction*>& marked);
  void AfterEdit(const std::vector<const TReaction*>& marked);
  // One edit since the file was last read or written, kept to be made again on top of a file
  // someone else saved meanwhile: before is the reaction as it was (none for an Add), after
  // as it is now (none for a Delete).
  struct TEdit {
    std::unique_ptr<TReaction> before;
    std::unique_ptr<TReaction> after;
  };
  void NoteEdit(const TReaction* before, const TReaction* after);
  // Makes the edits again on disk; the question of each that meets the other's change of the
  // same reaction goes to conflicts, and is kept beside it when keepBoth.
  void Replay(TReactionList& disk, bool keepBoth, std::vector<std::string>& conflicts) const;
  TSaveResult SaveOnTopOfDisk(const TFileLock& lock, bool keepBoth);
  TSaveResult KeepDiskCopyAndWrite(const TFileLock& lock);
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
  std::vector<TEdit> edits_;
};
