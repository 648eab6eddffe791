// The word mode engine behind the tap model: the language's word search, and its learning.
#pragma once

#include <functional>

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
    if (onCandidates) onCandidates(list, search_.State());
    return list;
  }
  // Sees every list the tap model asks for, with the search's state (the evaluation's checks).
  std::function<void(const std::vector<WideString>&, int state)> onCandidates;
  void AddUserWord(const WideString& word) override { language_.AddUserWord(word); }
  void LearnWord(const WideString& word) override { language_.LearnWord(word); }

 private:
  Language& language_;
  WordSearch search_;
};

}  // namespace tessaline::evaluation
