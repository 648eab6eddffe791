#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "Json.h"

namespace tessaline::tool {
namespace {

TEST(JsonText, KeepsKeysInTheOrderSetAndWritesNoSpaces) {
  Json json;
  json["zeta"] = 1;
  json["alpha"] = Json::array({true, false, nullptr});
  json["mid"]["inner"] = "x";
  json["empty"] = Json::object();
  json["none"] = Json::array();
  EXPECT_EQ(JsonText(json),
            R"({"zeta":1,"alpha":[true,false,null],"mid":{"inner":"x"},"empty":{},"none":[]})");
}

TEST(JsonText, NumbersKeepTheToolsFormat) {
  Json json = Json::array();
  json.push_back(0.1);
  json.push_back(2.0 / 3.0);  // 9 significant digits, not the shortest exact form
  json.push_back(1.5f);
  json.push_back(1e21);
  json.push_back(std::numeric_limits<double>::quiet_NaN());  // not a number: null
  json.push_back(std::numeric_limits<double>::infinity());
  json.push_back(-7);
  json.push_back(static_cast<uint64_t>(4294967296ULL));
  json.push_back(std::numeric_limits<int64_t>::min());
  EXPECT_EQ(JsonText(json), "[0.1,0.666666667,1.5,1e+21,null,null,-7,4294967296,-9223372036854775808]");
}

TEST(JsonText, StringsPassUtf8ThroughAndEscapeControlCharacters) {
  Json json;
  json["text"] = std::string("\"q\" \\ \n\r\t\x01\x08\x0c\x1f\x7f caf\xC3\xA9");
  json["key\x01"] = "\xE2\x80\x99";
  EXPECT_EQ(JsonText(json),
            "{\"text\":\"\\\"q\\\" \\\\ \\n\\r\\t\\u0001\\u0008\\u000c\\u001f\\u007f caf\xC3\xA9\","
            "\"key\\u0001\":\"\xE2\x80\x99\"}");
  // Bytes that are not UTF-8 are written as they are (the writer does not judge them).
  EXPECT_EQ(JsonText(Json(std::string("\xFF"))), "\"\xFF\"");
}

TEST(JsonText, DeepNestingIsWrittenWithoutDeepCalls) {
  constexpr int kDepth = 200000;
  Json root = Json::array();
  Json* inner = &root;
  for (int i = 0; i < kDepth; ++i) {
    inner->push_back(Json::array());
    inner = &inner->back();
  }
  const std::string text = JsonText(root);
  ASSERT_EQ(text.size(), 2u * (kDepth + 1));
  EXPECT_EQ(text.substr(0, 3), "[[[");
  EXPECT_EQ(text.substr(text.size() - 3), "]]]");
}

}  // namespace
}  // namespace tessaline::tool
