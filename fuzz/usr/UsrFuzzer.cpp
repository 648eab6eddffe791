// Arbitrary bytes as a user dictionary file: reading never overruns or sizes anything from a
// count, and whatever was read is written back to a file that reads the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/UserDictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tessaline::UserDictionary user;
  user.LoadBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  if (user.WordCount() + user.Adaptations().size() > size) std::abort();
  const std::string written = user.FileBytes();
  tessaline::UserDictionary again;
  const tessaline::UserDictionaryLoadReport report = again.LoadBytes(written);
  if (report.truncated || report.trailingBytes || report.duplicateRecords) std::abort();
  if (again.FileBytes() != written || again.Words() != user.Words()) std::abort();
  return 0;
}
