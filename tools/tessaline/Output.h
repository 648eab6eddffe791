// Shared pieces of the tool's commands: counts, file text as UTF-8, printable forms.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tessaline::tool {

// The value of a numeric option ("--name N") as a count of at least 1; prints
// "tessaline: --name needs a positive number" and returns false when it is not one.
bool PositiveCount(std::string_view name, const std::string& value, size_t& count);

// The bytes of a text file as UTF-8: kept as they are when they are well-formed UTF-8, otherwise
// read as Windows-1252 (the ANSI code page the files of this system are written in).
std::string FileTextToUtf8(std::string_view bytes);

// A readable form for the plain-text output: control characters as \xNN.
std::string Printable(std::string_view utf8);

int Usage(const char* text);

// The whole file, as bytes; false when it does not open.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// A language's name from its file's path: the file name without its extension.
std::string LanguageNameOf(const std::string& path);

}  // namespace tessaline::tool
