#include "platform/Sip.h"

#include <utility>

namespace tessaline::platform {
namespace {

std::vector<DWORD>& Calls() {
  static std::vector<DWORD> calls;
  return calls;
}

SipShowIMHandler& Handler() {
  static SipShowIMHandler handler = nullptr;
  return handler;
}

}  // namespace

std::vector<DWORD> SipShowIMCalls() { return Calls(); }

void ClearSipShowIMCalls() { Calls().clear(); }

SipShowIMHandler SetSipShowIMHandler(SipShowIMHandler handler) {
  return std::exchange(Handler(), handler);
}

}  // namespace tessaline::platform

extern "C" BOOL WINAPI SipShowIM(DWORD dwFlag) {
  using namespace tessaline::platform;
  Calls().push_back(dwFlag);
  return Handler() ? Handler()(dwFlag) : TRUE;
}
