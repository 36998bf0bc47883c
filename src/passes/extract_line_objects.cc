// First pass: the vertices of the drawing's line-object sections, copied to the vertex file.
#include <cstring>
#include <string_view>

#include "passes/passes.h"
#include "text/output_buffer.h"
#include "text/token_reader.h"
#include "text/utf8_text_buffer.h"

namespace lines2svg {

namespace {

bool endsSection(std::string_view token) { return !token.empty() && token[0] == '&'; }

// The drawing's record grammar. A vertex record is a tag, "P" or "L", and two coordinate tokens.
// A "P" record whose second coordinate is "L" gives that "L" to the next record as its tag as
// well: "P 1 L 2 3" is the vertices (1, L) and (2, 3).

bool isTag(std::string_view token) { return token == "P" || token == "L"; }

bool secondIsNextTag(std::string_view tag, std::string_view second) {
  return tag == "P" && second == "L";
}

// Writes a vertex line: the two coordinates with the one space between them, as they stand in
// the drawing, which the reader follows with at least 31 readable bytes. A line of up to 31 bytes,
// as most are, is copied as 32 bytes at once and its line feed put over the 32nd or before.
void writeVertexLine(OutputBuffer& out, std::string_view coordinates) {
  if (coordinates.size() < 32) {
    char* const to = out.reserve(32);
    std::memcpy(to, coordinates.data(), 32);
    to[coordinates.size()] = '\n';
    out.commit(coordinates.size() + 1);
    return;
  }
  out.write(coordinates);
  out.put('\n');
}

// Copies a token to the vertex file, streaming through the rest of one too long to hold whole.
void copyToken(TokenReader& tokens, OutputBuffer& out, std::string_view token) {
  out.write(token);
  for (std::string_view piece; tokens.nextPiece(&piece);) out.write(piece);
}

// Copies the two coordinate tokens of a vertex record as one line and leaves `current` on the
// second coordinate, which the section reader looks at again. A record cut short by the end of
// the drawing writes nothing and returns false, unless its one coordinate was too long to hold:
// that has been copied on the way, and its line is ended after it.
bool copyVertex(TokenReader& tokens, OutputBuffer& out, std::string_view* current) {
  std::string_view first;
  if (!tokens.next(&first)) return false;
  const bool firstWhole = !tokens.isPartial();
  if (firstWhole) {
    if (!tokens.nextAfter(&first, current)) return false;
    out.write(first);
    if (!tokens.isPartial()) {
      out.put(' ');
      out.write(*current);
      out.put('\n');
      return true;
    }
  } else {
    copyToken(tokens, out, first);
  }
  const bool more = firstWhole || tokens.next(current);
  if (more) {
    out.put(' ');
    copyToken(tokens, out, *current);
  }
  out.put('\n');
  return more;
}

}  // namespace

void extractLineObjects(std::istream& drawing, std::ostream& vertices) {
  // A drawing saved with a byte-order mark is read as the same drawing in UTF-8 without one.
  Utf8TextBuffer text(drawing.rdbuf());
  std::istream textIn(&text);
  TokenReader tokens(textIn);
  OutputBuffer out(vertices);
  std::string_view token;
  // Everything outside a line-object section is skipped unread, up to the next "&L".
  while (tokens.skipTo("&L")) {
    bool more = tokens.next(&token);
    out.write("x\n");
    while (more && !endsSection(token)) {
      if (isTag(token)) {
        // The tag is kept as a literal: the view into the reader's buffer moves on.
        const std::string_view tag = token == "P" ? "P" : "L";
        more = copyVertex(tokens, out, &token);
        // The record's second coordinate, now in `token`, may be the next record's tag.
        if (more && secondIsNextTag(tag, token)) continue;
      }
      if (more) {
        // The records that follow, as most are: a tag and two coordinates, one space apart.
        tokens.readTaggedPairs('P', 'L',
                               [&](std::string_view pair) { writeVertexLine(out, pair); });
        more = tokens.next(&token);
      }
    }
    // The token that closed the section is used up: scanning goes on after it, so a section
    // opened right at that token is not opened.
  }
  out.flush();
}

}  // namespace lines2svg
