// The native host's ANSI code page is Windows-1252.
#include "system/WideText.h"

namespace tessaline {

WideString AnsiToWide(std::string_view ansi) { return Cp1252ToWide(ansi); }
std::string WideToAnsi(WideView wide) { return WideToCp1252(wide); }

}  // namespace tessaline
