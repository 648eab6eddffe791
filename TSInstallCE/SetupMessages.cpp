#include "SetupMessages.h"

#include <utility>

namespace tessaline::setup {
namespace {

SetupMessageHandler& Handler() {
  static SetupMessageHandler handler;
  return handler;
}

}  // namespace

int ShowSetupMessage(HWND owner, const std::wstring& text, UINT style) {
  const SetupMessage message{owner, text, L"", style};
  if (Handler()) return Handler()(message);
  return MessageBoxW(owner, message.text.c_str(), message.caption.c_str(), style);
}

SetupMessageHandler SetSetupMessageHandler(SetupMessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace tessaline::setup
