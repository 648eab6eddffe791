// The Dictionary and Frequency pages each keep a copy of one language's user dictionary as they
// read it, and on Save write the edits the user made to it (engine/UserDictionaryFile.h): each
// touches only its own part, the words or the adaptation records, and only what it showed.
#pragma once

#include <string>

#include "engine/UserDictionary.h"
#include "system/WideText.h"

namespace tessaline {

// "<installation folder>\Languages\<language>.usr".
std::string UserDictionaryPathOf(WideView language);

}  // namespace tessaline
