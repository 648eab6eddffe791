// A small language file for the compiler's tests: letters a-z in four charsets, ä and ö in
// charset 7 (codes 0x80 and 0x81, which sort after every other letter and make pair keys of
// their own), punctuation on key 1 and the space on key 10.
#pragma once

#include <string>

#include "languages/KeyMap.h"
#include "support/TestFiles.h"

namespace tessaline::vocbuild::test {

inline const char* kTestLanguage =
    "charset=0,0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68\n"  // a-h: 0x10-0x17
    "charset=1,0x69,0x6a,0x6b,0x6c,0x6d,0x6e,0x6f,0x70\n"  // i-p: 0x20-0x27
    "charset=2,0x71,0x72,0x73,0x74,0x75,0x76,0x77,0x78\n"  // q-x: 0x30-0x37
    "charset=3,0x79,0x7a\n"                                // y z: 0x40 0x41
    "charset=7,0xe4,0xf6\n"                                // ä ö: 0x80 0x81
    "charset=13,0x20\n"
    "charset=14,0x2e,0x27,0x2d,0x3f\n"
    "charset=12,0x23\n"                                    // # on no key at all
    "chararray=1,1400,1401,1402,1403\n"
    "chararray=10,1300\n"
    "chararray=2,0,1,2,700\n"
    "chararray=3,3,4,5\n"
    "chararray=4,6,7,100\n"
    "chararray=5,101,102,103\n"
    "chararray=6,104,105,106,701\n"
    "chararray=7,107,200,201,202\n"
    "chararray=8,203,204,205\n"
    "chararray=9,206,207,300,301\n";

inline KeyMap TestKeyMap() {
  testing::TempDir dir;
  KeyMap map;
  map.LoadKeyMap(dir.Write("Test.chr", kTestLanguage));
  return map;
}

}  // namespace tessaline::vocbuild::test
