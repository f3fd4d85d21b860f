#include "editor/rules/reaction_book.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "bank/bank_checks.h"
#include "editor/rules/reaction_listing.h"
#include "model/charge_text.h"

namespace {

constexpr const char* kKeptInList =
    "\n\nThe file keeps its previous contents. Your change stays in the list, and the whole "
    "list is saved again with the next change.";

void CopyAnswer(const QuestionRecord& record, TReaction& reaction) {
  for (bool reactant : {true, false}) {
    Substance* side = reaction.Side(reactant);
    for (int i = 0; i < TReaction::kSlots; ++i) {
      side[i].SetFormula(record.Formula(reactant, i));
      side[i].charge = ChargeFromText(record.Charge(reactant, i));
    }
  }
}

void NormalizeCharges(QuestionRecord& record) {
  for (bool reactant : {true, false})
    for (int i = 0; i < QuestionRecord::kSlots; ++i)
      record.SetCharge(reactant, i, NormalizeChargeText(record.Charge(reactant, i)));
}

bool KnownType(int32_t type) {
  return type >= 0 && type < kReactionTypeCount;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// The same reaction, to the byte as the file holds it.
bool Same(const TReaction& a, const TReaction& b) {
  unsigned char first[kReactionRecordSize];
  unsigned char second[kReactionRecordSize];
  EncodeReaction(a, first);
  EncodeReaction(b, second);
  return std::memcmp(first, second, kReactionRecordSize) == 0;
}

TReactionList::iterator FindSame(TReactionList& list, const TReaction& reaction) {
  return std::find_if(list.begin(), list.end(),
                      [&](const auto& other) { return Same(*other, reaction); });
}

}  // namespace

TReactionBook::TReactionBook(std::string path) : path_(std::move(path)) {}

TReactionBook::ReadState TReactionBook::Read() {
  allReactions_.clear();
  readMessage_.clear();
  readFailure_.clear();
  keepDamagedCopy_ = false;
  unsaved_ = false;
  edits_.clear();
  TReadInfo info;
  const ReadResult result = ReadReactionFile(allReactions_, path_, &info);
  stamp_ = info.stamp;
  if (result == ReadResult::CannotOpen && info.errnum == ENOENT) {
    readState_ = ReadState::Missing;
    readMessage_ = ReadResultMessage(result, path_);
  } else if (result == ReadResult::CannotOpen) {
    readState_ = ReadState::Unreadable;
    readFailure_ = path_ + " is there but cannot be read (" + std::strerror(info.errnum) +
                   "). So that its reactions are not lost, reactions cannot be added, changed "
                   "or deleted until the program is started again with a readable file.";
    readMessage_ = ReadResultMessage(result, path_) + ".\n\n" + readFailure_;
  } else if (result == ReadResult::Damaged) {
    readState_ = ReadState::Damaged;
    keepDamagedCopy_ = true;
    readMessage_ = ReadResultMessage(result, path_);
    // Records of no known type can never be listed, changed or deleted: they are left out, and
    // the damaged file's bytes are kept beside it before the first rewrite.
    const std::size_t read = allReactions_.size();
    std::erase_if(allReactions_, [](const auto& reaction) { return !KnownType(reaction->type); });
    if (const std::size_t unknown = read - allReactions_.size(); unknown > 0)
      readMessage_ += "\n\n" + std::to_string(unknown) + " of the " + std::to_string(read) +
                      (read == 1 ? " record read" : " records read") +
                      (unknown == 1 ? " has" : " have") +
                      " no known type. They cannot be listed and are left out when the list is "
                      "next saved; the file's original bytes are kept beside it first.";
  } else {
    readState_ = ReadState::Read;
  }
  RebuildList(true);
  return readState_;
}

const char* TReactionBook::ReadCaption() const {
  return readState_ == ReadState::Missing ? "Information" : "Warning";
}

TMyCheck* TReactionBook::CheckBox(std::size_t row) const {
  return row < checkBoxes_.size() ? checkBoxes_[row].get() : nullptr;
}

std::size_t TReactionBook::RowOf(std::size_t stored) const {
  const auto at = std::find(storedIndex_.begin(), storedIndex_.end(), stored);
  return at == storedIndex_.end() ? std::string::npos
                                  : static_cast<std::size_t>(at - storedIndex_.begin());
}

bool TReactionBook::AllTypesListed() const {
  return std::all_of(typeFilter_.begin(), typeFilter_.end(), [](int32_t f) { return f == 1; });
}

void TReactionBook::SetTypeFilter(const TTypeFlags& flags) {
  typeFilter_ = flags;
  RebuildList(true);
}

void TReactionBook::SetLineHeight(int h) {
  lineHeight_ = std::max(1, h);
  const std::vector<const TReaction*> marked = MarkedReactions();
  RebuildList(false);
  RestoreMarks(marked);
}

void TReactionBook::RebuildList(bool recreate) {
  shownReactions_.clear();
  storedIndex_.clear();
  for (int32_t type = 0; type < kReactionTypeCount; ++type) {
    if (typeFilter_[type] != 1) continue;
    for (std::size_t i = 0; i < allReactions_.size(); ++i) {
      if (allReactions_[i]->type != type) continue;
      shownReactions_.push_back(std::make_unique<TReaction>(*allReactions_[i]));
      storedIndex_.push_back(i);
    }
  }
  // One box per listed row, where the listing draws the row; marks are restored by the caller.
  std::vector<bool> kept;
  if (!recreate)
    for (const auto& box : checkBoxes_) kept.push_back(box->GetCheck());
  checkBoxes_.clear();
  for (std::size_t k = 0; k < shownReactions_.size(); ++k) {
    checkBoxes_.push_back(
        std::make_unique<TMyCheck>(ReactionListing::EntryY(lineHeight_, k), lineHeight_));
    if (k < kept.size()) checkBoxes_.back()->SetCheck(kept[k]);
  }
  if (recreate) current_ = ReactionListing::kNoRow;
  if (current_ != ReactionListing::kNoRow) SetCurrent(current_);
}

void TReactionBook::SetCurrent(std::size_t row) {
  current_ =
      shownReactions_.empty() ? ReactionListing::kNoRow : std::min(row, shownReactions_.size() - 1);
}

void TReactionBook::MoveCurrent(int delta) {
  if (shownReactions_.empty()) return;
  if (current_ == ReactionListing::kNoRow) {
    SetCurrent(0);
    return;
  }
  const long long row = static_cast<long long>(current_) + delta;
  SetCurrent(static_cast<std::size_t>(std::max(0LL, row)));
}

void TReactionBook::ToggleCurrent() {
  if (TMyCheck* box = CheckBox(current_)) box->Toggle();
}

std::size_t TReactionBook::MarkedCount() const {
  return static_cast<std::size_t>(std::count_if(checkBoxes_.begin(), checkBoxes_.end(),
                                                [](const auto& box) { return box->GetCheck(); }));
}

std::vector<const TReaction*> TReactionBook::MarkedReactions() const {
  std::vector<const TReaction*> marked;
  for (std::size_t k = 0; k < checkBoxes_.size() && k < storedIndex_.size(); ++k)
    if (checkBoxes_[k]->GetCheck()) marked.push_back(allReactions_[storedIndex_[k]].get());
  return marked;
}

void TReactionBook::RestoreMarks(const std::vector<const TReaction*>& marked) {
  const std::unordered_set<const TReaction*> set(marked.begin(), marked.end());
  for (std::size_t k = 0; k < checkBoxes_.size(); ++k)
    checkBoxes_[k]->SetCheck(k < storedIndex_.size() &&
                             set.count(allReactions_[storedIndex_[k]].get()) != 0);
}

void TReactionBook::AfterEdit(const std::vector<const TReaction*>& marked) {
  RebuildList(false);
  RestoreMarks(marked);
  unsaved_ = true;
}

bool TReactionBook::CanEdit(std::string* why) const {
  if (readState_ != ReadState::Unreadable) return true;
  if (why) *why = readFailure_;
  return false;
}

TTypeFlags TReactionBook::FlagsOfType(int32_t type) {
  TTypeFlags flags = {};
  flags[type >= Precipitation && type < Miscellaneous ? type : Miscellaneous] = 1;
  return flags;
}

std::size_t TReactionBook::Add(QuestionRecord record, const TTypeFlags& flags) {
  if (!CanEdit()) return std::string::npos;
  NormalizeCharges(record);
  const std::vector<const TReaction*> marked = MarkedReactions();
  auto reaction = std::make_unique<TReaction>(record.Question(), TypeFromFlags(flags));
  CopyAnswer(record, *reaction);
  lastAddedType_ = reaction->type;
  NoteEdit(nullptr, reaction.get());
  allReactions_.push_back(std::move(reaction));
  AfterEdit(marked);
  const std::size_t row = RowOf(allReactions_.size() - 1);
  if (row != std::string::npos) SetCurrent(row);
  return row;
}

void TReactionBook::Change(std::size_t stored, QuestionRecord record, const TTypeFlags& flags,
                           bool changeAll) {
  if (!CanEdit() || stored >= allReactions_.size()) return;
  NormalizeCharges(record);
  const std::vector<const TReaction*> marked = MarkedReactions();
  TReaction& reaction = *allReactions_[stored];
  const TReaction before = reaction;
  if (changeAll) {
    SetFieldText(reaction.question, TReaction::kQuestionSize, record.Question());
    CopyAnswer(record, reaction);
  }
  reaction.type = TypeFromFlags(flags);
  NoteEdit(&before, &reaction);
  AfterEdit(marked);
}

void TReactionBook::Delete(std::size_t stored) {
  if (!CanEdit() || stored >= allReactions_.size()) return;
  std::vector<const TReaction*> marked = MarkedReactions();
  std::erase(marked, allReactions_[stored].get());
  NoteEdit(allReactions_[stored].get(), nullptr);
  allReactions_.erase(allReactions_.begin() + static_cast<std::ptrdiff_t>(stored));
  AfterEdit(marked);
}

std::vector<std::string> TReactionBook::Doubts(QuestionRecord record, const TTypeFlags& flags,
                                               std::size_t replacing) const {
  NormalizeCharges(record);
  TReaction reaction(record.Question(), TypeFromFlags(flags));
  CopyAnswer(record, reaction);
  // The same checks as the bank tool's, so that the editor and the tool never disagree.
  std::vector<std::string> doubts = ReactionProblems(reaction);
  const std::string key = QuestionKey(reaction.Question());
  for (std::size_t i = 0; i < allReactions_.size(); ++i) {
    if (i == replacing || QuestionKey(allReactions_[i]->Question()) != key) continue;
    const std::size_t row = RowOf(i);
    doubts.push_back(
        "the question repeats that of reaction " +
        (row == std::string::npos ? std::string("(not listed)") : std::to_string(row + 1)) +
        ": \"" + allReactions_[i]->QuestionText() + "\"");
    break;
  }
  return doubts;
}

std::string TReactionBook::FailureText(const TWriteError& error) const {
  if (error.kind == WriteFailure::Busy) return error.text + ".";
  if (error.kind == WriteFailure::WriteProtected)
    return path_ +
           " could not be saved: the file is write-protected (no one may write to it), "
           "so it was left as it was.";
  // The old message is kept for what it says: no file is there and none can be made.
  if (error.kind == WriteFailure::CannotCreate && !Exists(path_))
    return "File " + path_ + " cannot be found!\n\n" + error.text + ".";
  return path_ + " could not be saved: " + error.text + ".";
}

TReactionBook::TSaveResult TReactionBook::Save() {
  if (!CanEdit()) return {SaveOutcome::NotRead, readFailure_};
  const TFileLock lock(path_);
  if (!lock.Held()) return Refused(lock.Failure());
  // A file that has gone since it was read is simply written again; one that is there and
  // differs from what was read is someone else's work.
  if (Exists(path_) && !stamp_.Matches(path_)) return SaveOnTopOfDisk(lock, false);
  return Write(lock);
}

TReactionBook::TSaveResult TReactionBook::SaveKeepingBoth() {
  if (!CanEdit()) return {SaveOutcome::NotRead, readFailure_};
  const TFileLock lock(path_);
  if (!lock.Held()) return Refused(lock.Failure());
  if (Exists(path_) && !stamp_.Matches(path_)) return SaveOnTopOfDisk(lock, true);
  return Write(lock);
}

void TReactionBook::NoteEdit(const TReaction* before, const TReaction* after) {
  TEdit& edit = edits_.emplace_back();
  if (before) edit.before = std::make_unique<TReaction>(*before);
  if (after) edit.after = std::make_unique<TReaction>(*after);
}

void TReactionBook::Replay(TReactionList& disk, bool keepBoth,
                           std::vector<std::string>& conflicts) const {
  for (const TEdit& edit : edits_) {
    if (!edit.before) {
      disk.push_back(std::make_unique<TReaction>(*edit.after));
      continue;
    }
    if (const auto found = FindSame(disk, *edit.before); found != disk.end()) {
      if (edit.after)
        **found = *edit.after;
      else
        disk.erase(found);
      continue;
    }
    // The other program changed or deleted this reaction too. Both made it the same, or both
    // deleted it: nothing is in the way.
    if (edit.after && FindSame(disk, *edit.after) != disk.end()) continue;
    const bool changedThere = std::any_of(disk.begin(), disk.end(), [&](const auto& other) {
      return other->Question() == edit.before->Question();
    });
    if (!edit.after && !changedThere) continue;
    conflicts.push_back(edit.before->QuestionText());
    // Kept beside the other's version; a reaction the other changed is not deleted.
    if (keepBoth && edit.after) disk.push_back(std::make_unique<TReaction>(*edit.after));
  }
}

TReactionBook::TSaveResult TReactionBook::SaveOnTopOfDisk(const TFileLock& lock, bool keepBoth) {
  const std::string changed = path_ +
                              " has been changed on disk since it was read (by another program, "
                              "or another Tarvolin)";
  const std::string otherChoices = "\nNo: keep the file on disk as " + path_ +
                                   ".changed and save the list shown here.\nCancel: write nothing "
                                   "now; your change stays in the list, unsaved.";
  TReactionList disk;
  TReadInfo info;
  if (ReadReactionFile(disk, path_, &info) != ReadResult::Ok) {
    if (keepBoth) return KeepDiskCopyAndWrite(lock);
    return {SaveOutcome::ChangedOnDisk,
            changed +
                ", and it cannot be read now, so your change cannot be made again on top "
                "of it.\n\nYes: keep both: the file on disk is kept as " +
                path_ + ".changed and the list shown here is saved." + otherChoices};
  }
  std::vector<std::string> conflicts;
  Replay(disk, keepBoth, conflicts);
  if (!conflicts.empty() && !keepBoth) {
    std::string named;
    for (const std::string& question : conflicts) named += "\n- \"" + question + "\"";
    return {SaveOutcome::ChangedOnDisk,
            changed + ", and there these reactions were changed as well as here:" + named +
                "\n\nYes: keep both: your changes are made again on top of the file as it is "
                "now, and each of these reactions is kept in both versions." +
                otherChoices};
  }
  // The marks and the current entry stay with their reactions in the list as it now is.
  std::vector<TReaction> marked;
  for (const TReaction* reaction : MarkedReactions()) marked.push_back(*reaction);
  allReactions_ = std::move(disk);
  stamp_ = info.stamp;
  keepDamagedCopy_ = false;  // the file now on disk was read whole
  RebuildList(false);
  for (std::size_t k = 0; k < checkBoxes_.size(); ++k)
    checkBoxes_[k]->SetCheck(std::any_of(marked.begin(), marked.end(), [&](const TReaction& r) {
      return Same(r, *shownReactions_[k]);
    }));
  for (std::size_t k = 0; k < shownReactions_.size() && !edits_.empty(); ++k)
    if (edits_.back().after && Same(*shownReactions_[k], *edits_.back().after)) SetCurrent(k);
  TSaveResult result = Write(lock);
  if (result.outcome != SaveOutcome::Saved) return result;
  result.message =
      changed + ". Your change was made again on top of it, so both are kept: " + path_ +
      " now holds " + std::to_string(allReactions_.size()) + " reactions." +
      (conflicts.empty() ? "" : " Where both changed a reaction, both versions are kept.") +
      (result.message.empty() ? "" : "\n\n" + result.message);
  return result;
}

TReactionBook::TSaveResult TReactionBook::SaveKeepingDiskCopy() {
  if (!CanEdit()) return {SaveOutcome::NotRead, readFailure_};
  // Held from the copy on: the file kept beside is then the very file the list replaces.
  const TFileLock lock(path_);
  if (!lock.Held()) return Refused(lock.Failure());
  return KeepDiskCopyAndWrite(lock);
}

TReactionBook::TSaveResult TReactionBook::KeepDiskCopyAndWrite(const TFileLock& lock) {
  std::string keptAs;
  if (Exists(path_)) {
    std::string error;
    if (!KeepCopyBeside(path_, ".changed", keptAs, &error)) {
      unsaved_ = true;
      return {SaveOutcome::CopyFailed, path_ +
                                           " was not saved: the version on disk could not be "
                                           "kept beside it (" +
                                           error + ")." + kKeptInList};
    }
  }
  TSaveResult result = Write(lock);
  if (result.outcome == SaveOutcome::Saved && !keptAs.empty())
    result.message = "The version of " + path_ + " that was on disk was kept in " + keptAs +
                     ", and the list shown here was saved." +
                     (result.message.empty() ? "" : "\n\n" + result.message);
  return result;
}

TReactionBook::TSaveResult TReactionBook::Write(const TFileLock& lock) {
  std::string damagedCopy;
  if (keepDamagedCopy_ && Exists(path_)) {
    std::string error;
    if (!KeepCopyBeside(path_, ".damaged", damagedCopy, &error)) {
      unsaved_ = true;
      return {SaveOutcome::CopyFailed,
              "The file " + path_ +
                  " was damaged when it was read, and a copy of it could not "
                  "be made beside it, so it was not rewritten." +
                  kKeptInList};
    }
  }
  keepDamagedCopy_ = false;
  TWriteError error;
  if (!WriteReactionFile(allReactions_, path_, &error, &stamp_, &lock))
    return Refused(error, damagedCopy);
  unsaved_ = false;
  edits_.clear();
  if (readState_ == ReadState::Missing) readState_ = ReadState::Read;
  if (damagedCopy.empty()) return {};
  return {SaveOutcome::Saved, "The file " + path_ +
                                  " was damaged when it was read. Its original bytes were kept "
                                  "in " +
                                  damagedCopy +
                                  " before it was rewritten with the reactions listed here."};
}

TReactionBook::TSaveResult TReactionBook::Refused(const TWriteError& error,
                                                  const std::string& damagedCopy) {
  unsaved_ = true;
  std::string text = FailureText(error) + kKeptInList;
  if (!damagedCopy.empty())
    text += " The file was damaged when it was read; a copy of it was kept in " + damagedCopy + ".";
  const SaveOutcome outcome = error.kind == WriteFailure::WriteProtected
                                  ? SaveOutcome::WriteProtected
                              : error.kind == WriteFailure::Busy ? SaveOutcome::Busy
                                                                 : SaveOutcome::Failed;
  return {outcome, text};
}
