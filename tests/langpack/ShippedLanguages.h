// The shipped languages and the letters their users expect on the keypad, written here apart
// from the language files so that a file that loses or misplaces a letter is caught.
#pragma once

#include <string>
#include <vector>

namespace tessaline::langpack {

struct ShippedLanguage {
  const char* name;
  // The main letters of keys 2 to 9, in key order, and every letter of the language.
  std::vector<std::u16string> phoneGroups;
  std::u16string alphabet;
};

inline const std::vector<std::u16string> kLatinGroups = {u"abc", u"def", u"ghi", u"jkl",
                                                         u"mno", u"pqrs", u"tuv", u"wxyz"};
inline const std::u16string kLatin = u"abcdefghijklmnopqrstuvwxyz";

inline const std::vector<ShippedLanguage>& ShippedLanguages() {
  static const std::vector<ShippedLanguage> languages = {
      {"English", kLatinGroups, kLatin},
      {"German", kLatinGroups, kLatin + u"äöüß"},
      {"French", kLatinGroups, kLatin + u"àâæçéèêëîïôœùûüÿ"},
      {"Spanish", kLatinGroups, kLatin + u"áéíñóúü"},
      {"Italian", kLatinGroups, kLatin + u"àèéìíîòóùú"},
      {"Portuguese", kLatinGroups, kLatin + u"áâãàçéêíóôõúü"},
      {"Dutch", kLatinGroups, kLatin + u"àéèëêïöóü"},
      {"Polish", kLatinGroups, kLatin + u"ąćęłńóśźż"},
      {"Swedish", kLatinGroups, kLatin + u"åäéöü"},
      {"Czech", kLatinGroups, kLatin + u"áčďéěíňóřšťúůýž"},
      {"Russian", {u"абвг", u"дежз", u"ийкл", u"мноп", u"рсту", u"фхцч", u"шщъы", u"ьэюя"},
       u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя"},
      {"Ukrainian", {u"абвг", u"деєжз", u"иіїйкл", u"мноп", u"рсту", u"фхцч", u"шщь", u"юя"},
       u"абвгґдеєжзиіїйклмнопрстуфхцчшщьюя"},
  };
  return languages;
}

inline std::string DataPath(const std::string& relative) {
#ifdef _WIN32
  return "Z:" TESSALINE_DATA_DIR "/" + relative;  // the host's root as Wine shows it
#else
  return TESSALINE_DATA_DIR "/" + relative;
#endif
}

}  // namespace tessaline::langpack
