// A data file's bytes, mapped read-only and used in place: the pages are shared with every other
// reader of the file and the system can drop them and read them again at any time, so they are
// not the process's own memory.
//
// Under Win32 the file is opened sharing only reading: while it is mapped no program can write
// it, cut it short or put another file in its place. Natively (the tools and tests) a file put in
// its place by a rename leaves this mapping on the old file; cutting the mapped file short in
// place is not guarded against there.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessaline {

class MappedFile {
 public:
  virtual ~MappedFile() = default;
  virtual std::string_view Bytes() const = 0;
};

enum class MapOutcome { kMapped, kMissing, kUnreadable };

// Maps the file at the device path. A file that is there but empty gives a mapping of no bytes.
// On failure `outcome` (when given) says whether the file was missing or could not be mapped.
std::shared_ptr<const MappedFile> MapDataFile(const std::string& devicePath,
                                              MapOutcome* outcome = nullptr);

}  // namespace tessaline
