// The word mode engine behind the tap model: the language's word search, and its learning.
#pragma once

#include "engine/Language.h"
#include "engine/WordSearch.h"
#include "evaluation/TapModel.h"

namespace tessaline::evaluation {

class EnginePredictor : public Predictor {
 public:
  explicit EnginePredictor(Language& language) : language_(language) {
    search_.SetLanguage(&language);
  }
  void Reset() override { search_.Reset(); }
  void PressKey(int key) override { search_.PressKey(static_cast<int8_t>(key)); }
  std::vector<WideString> Candidates() override {
    std::vector<WideString> list;
    search_.GetCandidates(list);
    return list;
  }
  void AddUserWord(const WideString& word) override { language_.AddUserWord(word); }
  void LearnWord(const WideString& word) override { language_.LearnWord(word); }

 private:
  Language& language_;
  WordSearch search_;
};

}  // namespace tessaline::evaluation
