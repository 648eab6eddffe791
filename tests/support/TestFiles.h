// Files and folders that a test makes and removes again.
#pragma once

#include <string>
#include <vector>

#include "system/Messages.h"

namespace tessaline::testing {

// A fresh folder on the host, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Host path of the folder, and of a file in it (relative name with "/" separators).
  const std::string& Path() const { return path_; }
  std::string File(const std::string& relative) const;

  // Writes bytes exactly as given (binary), creating folders on the way; returns the host path.
  std::string Write(const std::string& relative, const std::string& bytes) const;

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& hostPath);

// Makes the folder the device root for as long as the object lives, so that device paths such
// as "\Program files\Tessaline\Languages\x.chr" land inside it.
class DeviceRootScope {
 public:
  explicit DeviceRootScope(const std::string& root);
  ~DeviceRootScope();
};

// Answers every message box with a fixed answer and keeps what was shown.
class MessageRecorder {
 public:
  explicit MessageRecorder(int answer = kAnswerOk);
  ~MessageRecorder();
  // The answer to the messages from now on.
  void SetAnswer(int answer) { answer_ = answer; }
  const std::vector<MessageCall>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }
  std::vector<std::string> Texts() const;  // UTF-8, for readable assertions

 private:
  std::vector<MessageCall> calls_;
  int answer_;
  MessageHandler previous_;
};

}  // namespace tessaline::testing
