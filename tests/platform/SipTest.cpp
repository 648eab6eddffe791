// The stand-in for the soft input panel calls: every call is recorded, then served by the host's
// handler when there is one.
#include <gtest/gtest.h>

#include "platform/Sip.h"

namespace tessaline::platform {
namespace {

std::vector<DWORD> served;

BOOL RefusingHost(DWORD flag) {
  served.push_back(flag);
  return FALSE;
}

TEST(SipTest, CallsAreRecordedAndHandedToTheHost) {
  ClearSipShowIMCalls();
  EXPECT_TRUE(SipShowIM(SIPF_ON));  // no host: the call succeeds
  EXPECT_EQ(SetSipShowIMHandler(RefusingHost), nullptr);
  EXPECT_FALSE(SipShowIM(SIPF_OFF));
  EXPECT_EQ(SetSipShowIMHandler(nullptr), RefusingHost);
  EXPECT_EQ(SipShowIMCalls(), (std::vector<DWORD>{SIPF_ON, SIPF_OFF}));
  EXPECT_EQ(served, std::vector<DWORD>{SIPF_OFF});
  ClearSipShowIMCalls();
  EXPECT_TRUE(SipShowIMCalls().empty());
}

}  // namespace
}  // namespace tessaline::platform
