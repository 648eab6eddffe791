#include "support/TestFiles.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "system/DataFiles.h"

namespace fs = std::filesystem;

namespace tessaline::testing {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path p = fs::temp_directory_path() /
               ("tessaline-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(p);
  path_ = p.string();
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& relative) const {
  return (fs::path(path_) / fs::path(relative)).make_preferred().string();
}

std::string TempDir::Write(const std::string& relative, const std::string& bytes) const {
  const std::string path = File(relative);
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string ReadBytes(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

DeviceRootScope::DeviceRootScope(const std::string& root) { SetDeviceRoot(root); }
DeviceRootScope::~DeviceRootScope() { SetDeviceRoot(""); }

MessageRecorder::MessageRecorder(int answer) : answer_(answer) {
  previous_ = SetMessageHandler([this](const MessageCall& call) {
    calls_.push_back(call);
    return answer_;
  });
}

MessageRecorder::~MessageRecorder() { SetMessageHandler(previous_); }

std::vector<std::string> MessageRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const auto& call : calls_) texts.push_back(WideToUtf8(call.text));
  return texts;
}

}  // namespace tessaline::testing
