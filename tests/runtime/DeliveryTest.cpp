// Text and keys on their way to the application through the soft input panel's callback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingCallback.h"
#include "runtime/CallbackDelivery.h"
#include "runtime/RuntimeSeams.h"

namespace tessaline {
namespace {

using Calls = std::vector<std::string>;
using testing::RecordingCallback;

// Pauses go into the same list as the calls, so that their places can be checked.
class DeliveryTest : public ::testing::Test {
 protected:
  DeliveryTest() {
    SetPauseHook([this](unsigned ms) { pauses_.push_back(ms); });
  }
  ~DeliveryTest() override { SetPauseHook(nullptr); }

  RecordingCallback callback_;
  std::vector<unsigned> pauses_;
};

TEST_F(DeliveryTest, TheAdapterSendsExactStringsAndBothHalvesOfAKey) {
  CallbackDelivery delivery(&callback_);
  const char16_t text[] = u"hello world";
  delivery.SendString(text, 5);  // only the first five characters, from an unterminated run
  delivery.SendVirtualKey(0x11, false);
  delivery.SendVirtualKey(0x11, true);
  delivery.Pause(5);
  EXPECT_EQ(callback_.Calls(), (Calls{"text:hello", "down:0x11", "up:0x11"}));
  EXPECT_EQ(callback_.badLengths, 0);
  EXPECT_EQ(pauses_, (std::vector<unsigned>{5}));
  // A key script through the adapter: the same calls a test recorder would see.
  callback_.Clear();
  SendKeyScript(CompileKeyScript(u"ab+VK_RETURN"), delivery);
  EXPECT_EQ(callback_.Calls(), (Calls{"text:ab+", "down:0x0D", "up:0x0D"}));
}

TEST_F(DeliveryTest, WithoutACallbackNothingIsSentAndNothingFails) {
  CallbackDelivery delivery;
  delivery.SendString(u"abc", 3);
  delivery.SendVirtualKey(8, false);
  SendKeyScript(CompileKeyScript(u"VK_CONTROLd+VK_HOME+VK_CONTROLu"), delivery);
  // Registering the callback later makes the same object deliver.
  delivery.SetCallback(&callback_);
  delivery.SendString(u"x", 1);
  EXPECT_EQ(callback_.Calls(), (Calls{"text:x"}));
}

TEST_F(DeliveryTest, KeyScriptsPauseAfterEachCall) {
  CallbackDelivery delivery(&callback_);
  SendKeyScript(CompileKeyScript(u"VK_CONTROLd+VK_HOME+VK_CONTROLu"), delivery);
  EXPECT_EQ(callback_.Calls(), (Calls{"down:0x11", "down:0x24", "up:0x24", "up:0x11"}));
  EXPECT_EQ(pauses_, (std::vector<unsigned>{5, 5, 5, 5}));
}

}  // namespace
}  // namespace tessaline
