// The tool's --json output: the structure is built with nlohmann-json (objects keep their keys in
// the order they were set), and written by JsonText in the tool's own compact form.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace tessaline::tool {

using Json = nlohmann::ordered_json;

// The compact text of a value: no spaces; strings passed through as UTF-8 with '"', '\\' and
// control characters escaped (\n, \r and \t by name, the others and DEL as \u00xx); whole numbers
// in decimal, others with 9 significant digits ("%.9g"), non-finite ones as null. Nesting depth
// is not limited by the call stack.
std::string JsonText(const Json& value);

// A string in quotes, escaped as JsonText escapes it.
std::string JsonQuote(std::string_view utf8);

}  // namespace tessaline::tool
