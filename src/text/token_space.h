#ifndef LINES2SVG_TEXT_TOKEN_SPACE_H_
#define LINES2SVG_TEXT_TOKEN_SPACE_H_

#include <initializer_list>

namespace lines2svg {

// One entry per byte value, true for the separators, so that a test is one load.
struct TokenSpaceTable {
  bool separator[256] = {};
  constexpr TokenSpaceTable() {
    for (char c : {'\t', '\n', '\v', '\f', '\r', ' '})
      separator[static_cast<unsigned char>(c)] = true;
  }
};
inline constexpr TokenSpaceTable kTokenSpaces;

// True for tab, line feed, vertical tab, form feed, carriage return and space, the separators;
// every other byte, NUL and bytes above 127 included, is part of a token.
inline bool isTokenSpace(char c) { return kTokenSpaces.separator[static_cast<unsigned char>(c)]; }

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_TOKEN_SPACE_H_
