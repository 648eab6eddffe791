// Text and keys on their way to the application: the callback adapter and the input window's
// three delivery operations with the spelling diversion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingCallback.h"
#include "runtime/CallbackDelivery.h"
#include "runtime/RuntimeSeams.h"
#include "runtime/TextDelivery.h"

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

class Speller : public SpellingTarget {
 public:
  bool SpellingMode() const override { return spelling; }
  void SpellingBackspace() override { ++backspaces; }
  bool spelling = false;
  int backspaces = 0;
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
  TextDelivery text;
  text.SetAutoSpacePending(true);
  text.SendText(u"word ");
  text.SendBackspaces(2);
  text.SendKeyScript(u"VK_CONTROLd+VK_HOME+VK_CONTROLu");
  EXPECT_FALSE(text.AutoSpacePending());  // state still changes
  // Registering the callback later makes the same object deliver.
  text.SetCallback(&callback_);
  text.SendText(u"x");
  EXPECT_EQ(callback_.Calls(), (Calls{"text:x"}));
}

TEST_F(DeliveryTest, WhileSpellingBackspaceEditsTheWordAndOtherKeysAreDropped) {
  TextDelivery delivery(&callback_);
  Speller speller;
  delivery.SetSpellingTarget(&speller);
  speller.spelling = true;
  delivery.SetAutoSpacePending(true);
  delivery.SendBackspaces(2);
  delivery.SendKey(kVkReturn);
  delivery.SendKey(0x25);
  EXPECT_EQ(speller.backspaces, 2);
  EXPECT_TRUE(callback_.Calls().empty());
  EXPECT_FALSE(delivery.AutoSpacePending());
  // Text is not diverted: the input window decides where spelled letters go.
  delivery.SendText(u"a");
  speller.spelling = false;
  delivery.SendKey(kVkBack);
  EXPECT_EQ(callback_.Calls(), (Calls{"text:a", "down:0x08", "up:0x08"}));
  EXPECT_EQ(speller.backspaces, 2);
}

TEST_F(DeliveryTest, KeyScriptsPauseAfterEachCallAndMoveTheCaret) {
  TextDelivery delivery(&callback_);
  delivery.SetAutoSpacePending(true);
  delivery.SendKeyScript(u"");  // an empty button text sends nothing
  EXPECT_TRUE(delivery.AutoSpacePending());
  EXPECT_TRUE(callback_.Calls().empty());
  delivery.SendKeyScript(u"VK_CONTROLd+VK_HOME+VK_CONTROLu");
  EXPECT_EQ(callback_.Calls(), (Calls{"down:0x11", "down:0x24", "up:0x24", "up:0x11"}));
  EXPECT_EQ(pauses_, (std::vector<unsigned>{5, 5, 5, 5}));
  EXPECT_FALSE(delivery.AutoSpacePending());
}

}  // namespace
}  // namespace tessaline
