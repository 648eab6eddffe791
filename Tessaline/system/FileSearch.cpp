#include "system/FileSearch.h"

namespace tessaline {

bool WildcardMatch(WideView pattern, WideView name) {
  const WideString p = AsciiLower(pattern);
  const WideString n = AsciiLower(name);
  size_t pi = 0, ni = 0, starP = WideString::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == u'?' || p[pi] == n[ni])) {
      ++pi, ++ni;
    } else if (pi < p.size() && p[pi] == u'*') {
      starP = pi++;
      starN = ni;
    } else if (starP != WideString::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == u'*') ++pi;
  return pi == p.size();
}

}  // namespace tessaline
