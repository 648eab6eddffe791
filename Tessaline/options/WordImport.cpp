#include "options/WordImport.h"

#include <algorithm>
#include <string_view>

#include "engine/Language.h"
#include "options/ExchangeFile.h"
#include "system/LetterCase.h"

namespace tessaline {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Offers a word to the language and names what became of it. The outcome of AddUserWord is the
// one that counts; the checks after a refusal only say why, in the order AddUserWord makes them.
ImportOutcome Offer(Language& language, const WideString& word) {
  if (language.AddUserWord(word)) return ImportOutcome::kAccepted;
  const std::vector<WideString>& words = language.User().Words();
  if (std::find(words.begin(), words.end(), word) != words.end()) {
    return ImportOutcome::kAlreadyListed;
  }
  if (word.size() > kMaxUserWordUnits) return ImportOutcome::kTooLong;
  LetterCodes codes;
  if (!language.Encode(word, codes)) return ImportOutcome::kNotInLanguage;
  return ImportOutcome::kKnownWord;
}

}  // namespace

const char* ImportOutcomeName(ImportOutcome outcome) {
  switch (outcome) {
    case ImportOutcome::kAccepted:
      return "accepted";
    case ImportOutcome::kAlreadyListed:
      return "already listed";
    case ImportOutcome::kKnownWord:
      return "in the vocabulary";
    case ImportOutcome::kNotInLanguage:
      return "not in the language's letters";
    case ImportOutcome::kTooLong:
      return "longer than 255 characters";
  }
  return "";
}

void SortAsWordList(std::vector<WideString>& words) {
  std::stable_sort(words.begin(), words.end(), [](const WideString& a, const WideString& b) {
    return CompareAlphabetically(a, b) < 0;
  });
}

ImportResult ImportUserWords(Language& temporary, const std::vector<WideString>& listed, FILE* file,
                             const ImportObserver& observe) {
  ImportResult result;
  if (temporary.Keys().Keys().empty()) {
    result.words = listed;
    return result;
  }
  result.imported = true;
  auto offer = [&](const WideString& word, size_t line) {
    const ImportOutcome outcome = Offer(temporary, word);
    if (outcome == ImportOutcome::kAccepted) result.words.push_back(word);
    if (observe) observe(ImportedWord{word, line, outcome});
  };

  temporary.Words().BeginBulkInsert();
  for (const WideString& word : listed) {
    if (!word.empty()) offer(word, 0);
  }
  ExchangePieceReader reader(file);
  std::string piece;
  bool first = true;
  while (true) {
    if (result.words.size() >= kMaxImportedWords) {
      // Only a piece that is there counts as left unread.
      result.stoppedAtLimit = reader.Next(piece);
      break;
    }
    if (!reader.Next(piece)) break;
    // A word list saved as UTF-8 by a desktop editor may begin with a byte-order mark, which is
    // no part of its first word.
    if (first && piece.starts_with(kUtf8ByteOrderMark)) piece.erase(0, kUtf8ByteOrderMark.size());
    first = false;
    const WideString word = ExchangeWordOfPiece(piece);
    if (!word.empty()) offer(word, reader.Line());
  }
  temporary.Words().EndBulkInsert();
  return result;
}

}  // namespace tessaline
