// The user's documents folder, where the Dictionary page exchanges word lists (Win32): the
// platform's special folder 5, the personal documents.
#pragma once

#include <functional>
#include <optional>

#include "system/WideText.h"

namespace tessaline {

// The folder, or nothing when the platform cannot name it.
std::optional<WideString> DocumentsFolder();

// Tests name a folder of their own (a device path) or none; an empty function restores the
// platform's answer. Returns the previous one.
using DocumentsFolderSource = std::function<std::optional<WideString>()>;
DocumentsFolderSource SetDocumentsFolderSource(DocumentsFolderSource source);

}  // namespace tessaline
