#include "engine/UserDictionaryFile.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include "engine/UserFileSystem.h"
#include "system/Messages.h"

namespace tessaline {
namespace {

// A stamp that tells one file from another: a file that could not be looked at has none.
bool Telling(const DataFileStamp& stamp) {
  return stamp.exists && (stamp.writeTime != 0 || stamp.identity != 0 || stamp.size != 0);
}

std::map<std::string, std::unique_ptr<UserDictionaryFile>>& Registry() {
  static std::map<std::string, std::unique_ptr<UserDictionaryFile>> files;
  return files;
}

// Paths that differ only in case or in the kind of slash name one file on the device.
std::string RegistryKey(const std::string& path) {
  std::string key = HostPath(path);
  for (char& ch : key) {
    ch = ch == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  }
  return key;
}

}  // namespace

UserFileView UserDictionaryFile::Read(UserDictionary& dictionary) {
  UserFileView view;
  dictionary = UserDictionary();
  // No lock: a file is only ever replaced whole, so a read sees the old file or the new one. The
  // stamp is taken first; a file replaced in between is newer than its stamp says, and the next
  // look at the stamp finds it changed.
  view.stamp = CurrentUserFileSystem().Stamp(path_);
  std::string bytes;
  view.read = CurrentUserFileSystem().Read(path_, bytes);
  if (view.read == DataFileRead::kRead) {
    dictionary.LoadBytes(bytes);
    imageKnown_ = Telling(view.stamp);
    imageStamp_ = view.stamp;
    image_ = dictionary;
    imageBytes_ = std::move(bytes);
  }
  pending_.ApplyTo(dictionary);
  return view;
}

UserFileOutcome UserDictionaryFile::Commit(const UserDictionaryEdits& edits) {
  pending_.Append(edits);
  UserFileOutcome outcome;
  if (pending_.empty()) return outcome;
  UserFileSystem& files = CurrentUserFileSystem();
  const std::unique_ptr<FileLock> lock = files.Lock(path_, kUserFileLockWait);
  if (!lock) {
    outcome.status = UserFileStatus::kLockBusy;
    return outcome;
  }
  outcome.before = files.Stamp(path_);
  UserDictionary current;
  std::string original;
  bool missing = false;
  if (imageKnown_ && Telling(outcome.before) && outcome.before == imageStamp_) {
    current = image_;
    original = imageBytes_;
  } else {
    const DataFileRead read = files.Read(path_, original);
    if (read == DataFileRead::kUnreadable) {
      outcome.status = UserFileStatus::kUnreadable;
      imageKnown_ = false;
      return outcome;
    }
    missing = read == DataFileRead::kMissing;
    if (!missing) current.LoadBytes(original);
  }
  pending_.ApplyTo(current);
  const std::string next = current.FileBytes();
  if (!missing && next == original) {
    // Nothing to write: the edits were in the file already (a decay another writer ran today).
    pending_.clear();
    image_ = std::move(current);
    imageBytes_ = next;
    imageStamp_ = outcome.before;
    imageKnown_ = Telling(outcome.before);
    outcome.after = outcome.before;
    told_ = false;
    toTell_ = UserFileStatus::kSaved;
    return outcome;
  }
  const std::string temporary = files.TemporaryPath(path_);
  if (!files.WriteTemporary(temporary, next) || !files.Replace(temporary, path_)) {
    files.Remove(temporary);
    outcome.status = UserFileStatus::kWriteFailed;
    imageKnown_ = false;
    return outcome;
  }
  outcome.after = files.Stamp(path_);
  pending_.clear();
  // What the file holds now (FileBytes leaves out nothing the edits can put in: a word longer
  // than the file holds is never a user word).
  image_ = std::move(current);
  imageBytes_ = next;
  imageStamp_ = outcome.after;
  imageKnown_ = Telling(outcome.after);
  told_ = false;
  toTell_ = UserFileStatus::kSaved;
  return outcome;
}

void UserDictionaryFile::NoteFailure(UserFileStatus status) {
  if (status == UserFileStatus::kSaved || told_) return;
  toTell_ = status;
}

void UserDictionaryFile::TellFailure() {
  if (toTell_ == UserFileStatus::kSaved) return;
  const UserFileStatus status = toTell_;
  toTell_ = UserFileStatus::kSaved;
  told_ = true;
  ShowMessage(UserFileFailureText(path_, status), u"Tessaline", kMessageIconWarning);
}

WideString UserFileFailureText(const std::string& path, UserFileStatus status) {
  const WideString file = AnsiToWide(path);
  WideString reason;
  switch (status) {
    case UserFileStatus::kLockBusy:
      reason = u"another program is saving it";
      break;
    case UserFileStatus::kUnreadable:
      reason = u"it cannot be read, so it is not written over";
      break;
    case UserFileStatus::kWriteFailed:
      reason = u"it cannot be written (the storage may be full, or the file read-only or in use)";
      break;
    case UserFileStatus::kSaved:
      break;
  }
  return u"Can't save your words in '" + file + u"': " + reason +
         u". They are kept and saved again with your next word.";
}

UserDictionaryFile& UserDictionaryFileAt(const std::string& path) {
  std::unique_ptr<UserDictionaryFile>& file = Registry()[RegistryKey(path)];
  if (!file) file = std::make_unique<UserDictionaryFile>(path);
  return *file;
}

bool AnyUserEditsPending() {
  for (const auto& [key, file] : Registry()) {
    if (file->HasPending()) return true;
  }
  return false;
}

void CommitAllPendingUserEdits() {
  for (const auto& [key, file] : Registry()) {
    if (!file->HasPending()) continue;
    file->NoteFailure(file->CommitPending().status);
  }
}

bool UserFileFailuresToTell() {
  for (const auto& [key, file] : Registry()) {
    if (file->FailureToTell()) return true;
  }
  return false;
}

void TellUserFileFailures() {
  // Telling may let other events run (a message box has a loop of its own); a file noted
  // meanwhile is told by the next call.
  std::vector<UserDictionaryFile*> files;
  for (const auto& [key, file] : Registry()) {
    if (file->FailureToTell()) files.push_back(file.get());
  }
  for (UserDictionaryFile* file : files) file->TellFailure();
}

void ForgetUserDictionaryFiles() { Registry().clear(); }

}  // namespace tessaline
