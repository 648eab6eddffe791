#include "system/Messages.h"

#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessaline {
namespace {

MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}

int DefaultShow(const MessageCall& call) {
#ifdef _WIN32
  return MessageBoxW(static_cast<HWND>(call.owner), reinterpret_cast<const wchar_t*>(call.text.c_str()),
                     call.hasCaption ? reinterpret_cast<const wchar_t*>(call.caption.c_str())
                                     : nullptr,
                     call.style);
#else
  if (call.hasCaption && !call.caption.empty()) {
    std::fprintf(stderr, "[%s] %s\n", WideToUtf8(call.caption).c_str(),
                 WideToUtf8(call.text).c_str());
  } else {
    std::fprintf(stderr, "%s\n", WideToUtf8(call.text).c_str());
  }
  return (call.style & 0xF) == kMessageYesNo ? kAnswerYes : kAnswerOk;
#endif
}

int Show(MessageCall call) {
  if (Handler()) return Handler()(call);
  return DefaultShow(call);
}

}  // namespace

int ShowMessage(const WideString& text, unsigned style) {
  return Show(MessageCall{text, WideString(), style, false});
}

int ShowMessage(const WideString& text, const WideString& caption, unsigned style) {
  return Show(MessageCall{text, caption, style, true});
}

int ShowOwnedMessage(void* owner, const WideString& text, const WideString& caption,
                     unsigned style) {
  return Show(MessageCall{text, caption, style, true, owner});
}

MessageHandler SetMessageHandler(MessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace tessaline
