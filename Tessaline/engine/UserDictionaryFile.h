// The one way to change a user dictionary file (.usr).
//
// Every writer, in any process, goes through here: the input method (a commit, a spelled word,
// the daily decay), the Dictionary and Frequency pages, the command-line tool. A writer hands
// over its edits (UserDictionaryEdits.h), never a whole copy. Committing them:
//   1. takes the file's lock (system/FileLock.h), waiting at most about two seconds;
//   2. reads what the file holds at that moment (or, when its stamp is the one this process
//      last read or wrote, uses the image it kept of it: the fast path costs one stamp);
//   3. applies every pending edit of this process, in order;
//   4. writes the result to a temporary file of this writer's own beside it, flushes it to the
//      disk and puts it in the file's place in one step;
//   5. lets go of the lock.
// A lock that cannot be had, a file that exists but cannot be read whole, a temporary file that
// cannot be written, flushed or moved into place: the file stays exactly as it was and the edits
// stay pending, in this process's memory, until a later commit of the same file succeeds.
//
// The pending edits belong to the file, not to any one object: a language freed and loaded again
// (the input window rebuilt, the panel deselected) finds them and shows them, and the next
// commit of any writer of this process writes them.
#pragma once

#include <memory>
#include <string>

#include "engine/UserDictionary.h"
#include "engine/UserDictionaryEdits.h"
#include "engine/UserFileSystem.h"
#include "system/DataFiles.h"

namespace tessaline {

// How long a writer waits for another one's lock.
constexpr unsigned kUserFileLockWait = 2000;

enum class UserFileStatus {
  kSaved,        // the edits are in the file (also when they changed nothing in it)
  kLockBusy,     // another writer held the lock too long
  kUnreadable,   // the file exists but cannot be read whole
  kWriteFailed,  // the new file could not be written, flushed or put in place
};

struct UserFileOutcome {
  UserFileStatus status = UserFileStatus::kSaved;
  // The file as it was when the lock was had, and as this commit left it.
  DataFileStamp before;
  DataFileStamp after;
};

// What ReadUserDictionary found.
struct UserFileView {
  DataFileRead read = DataFileRead::kMissing;
  DataFileStamp stamp;  // of the file that was read
};

class UserDictionaryFile {
 public:
  explicit UserDictionaryFile(std::string path) : path_(std::move(path)) {}
  UserDictionaryFile(const UserDictionaryFile&) = delete;
  UserDictionaryFile& operator=(const UserDictionaryFile&) = delete;

  const std::string& Path() const { return path_; }

  // What the file holds with this process's pending edits applied to it: what it will hold once
  // they are written. A missing file reads as an empty dictionary; an unreadable one gives the
  // pending edits alone, and says so.
  UserFileView Read(UserDictionary& dictionary);

  // Adds the edits to the pending ones, to be written by the next commit.
  void Queue(const UserDictionaryEdits& edits) { pending_.Append(edits); }
  // Adds the edits to the pending ones and writes them all (steps above).
  UserFileOutcome Commit(const UserDictionaryEdits& edits);
  // Writes the pending edits, if any.
  UserFileOutcome CommitPending() { return Commit(UserDictionaryEdits()); }

  bool HasPending() const { return !pending_.empty(); }
  const UserDictionaryEdits& Pending() const { return pending_; }

  // Notes that the edits could not be written, to be told once until the next successful
  // commit (TellUserFileFailures). A status of kSaved notes nothing.
  void NoteFailure(UserFileStatus status);
  // Whether a noted failure waits to be told.
  bool FailureToTell() const { return toTell_ != UserFileStatus::kSaved; }
  // Tells the user of the noted failure, if any: the path and the reason, and that the edits are
  // kept. Then nothing more until a commit succeeds and a write fails again.
  void TellFailure();

 private:
  std::string path_;
  UserDictionaryEdits pending_;
  // The file as this process last read or wrote it, and its stamp then.
  bool imageKnown_ = false;
  DataFileStamp imageStamp_;
  UserDictionary image_;
  std::string imageBytes_;  // its bytes, as they are on the disk
  bool told_ = false;
  UserFileStatus toTell_ = UserFileStatus::kSaved;
};

// The one object of this process for the file at `path` (a device path).
UserDictionaryFile& UserDictionaryFileAt(const std::string& path);
// Whether any user dictionary of this process has edits that are not written yet.
bool AnyUserEditsPending();
// Tries again to write every file with pending edits, noting a failure to be told.
void CommitAllPendingUserEdits();
// Whether a failure waits to be told, and telling them. The input method tells between events,
// never while it is in the middle of one: a message box lets the pen reach the panel again.
bool UserFileFailuresToTell();
void TellUserFileFailures();
// Forgets every file's pending edits and images (tests).
void ForgetUserDictionaryFiles();

// The message a failed commit shows (a path and a status other than kSaved).
WideString UserFileFailureText(const std::string& path, UserFileStatus status);

}  // namespace tessaline
