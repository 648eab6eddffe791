#include <gtest/gtest.h>

#include "system/Messages.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // No test may block on a message box: an unexpected one fails loudly instead of waiting for a
  // person. Tests that expect messages install a MessageRecorder.
  tessaline::SetMessageHandler([](const tessaline::MessageCall& call) {
    ADD_FAILURE() << "unexpected message box: " << tessaline::WideToUtf8(call.text);
    return static_cast<int>(tessaline::kAnswerOk);
  });
  return RUN_ALL_TESTS();
}
