#ifndef LINES2SVG_TEXT_TOKEN_SPACE_H_
#define LINES2SVG_TEXT_TOKEN_SPACE_H_

namespace lines2svg {

// True for the six characters that separate tokens: tab, line feed, vertical tab, form feed,
// carriage return and space. Every other byte, NUL and bytes above 127 included, is part of a
// token.
inline bool isTokenSpace(char c) {
  return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t';
}

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_TOKEN_SPACE_H_
