// First pass: the vertices of the drawing's line-object sections, copied to the vertex file.
#include <string_view>

#include "passes/passes.h"
#include "text/bits.h"
#include "text/output_buffer.h"
#include "text/token_reader.h"
#include "text/utf8_text_buffer.h"

namespace lines2svg {

namespace {

bool endsSection(std::string_view token) { return !token.empty() && token[0] == '&'; }

// The drawing's record grammar, which the walk over whole records and the section loop share. A
// vertex record is a tag, "P" or "L", and two coordinate tokens. A "P" record whose second
// coordinate is "L" gives that "L" to the next record as its tag as well: "P 1 L 2 3" is the
// vertices (1, L) and (2, 3).
bool isTag(std::string_view token) { return token == "P" || token == "L"; }

bool secondIsNextTag(std::string_view tag, std::string_view second) {
  return tag == "P" && second == "L";
}

// Writes a vertex line from two coordinate tokens lying whole in the reader's buffer, which keeps
// the byte after `first` readable.
[[gnu::always_inline]] inline void writeVertexLine(OutputBuffer& out, std::string_view first,
                                                   std::string_view second) {
  const char* const gap = first.data() + first.size();
  if (gap + 1 == second.data() && *gap == ' ') {
    // One space apart in the drawing, as they mostly are: the line is already there.
    out.write(std::string_view(first.data(), first.size() + 1 + second.size()));
  } else {
    out.write(first);
    out.put(' ');
    out.write(second);
  }
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
    if (!tokens.isPartial()) {
      writeVertexLine(out, first, *current);
      return true;
    }
    out.write(first);
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

// Copies the record after `pos`, a separator's position, when it is of the commonest kind and
// lies in the next 64 bytes: the tag "P" or "L" and two coordinates, one space apart, the second
// not "L". Such a record is copied as copyWholeRecords copies it: the coordinates and the space
// between them as they stand, then a line feed. Returns false, leaving `pos` and the output
// alone, for any other; the bits of one separator window tell where its three tokens end.
bool copyPlainRecord(TokenReader& tokens, OutputBuffer& out, std::size_t* pos) {
  std::uint64_t separators = 0;
  const char* bytes = nullptr;
  if (!tokens.peekSeparators(*pos, &separators, &bytes) || ~separators == 0) return false;
  // The bytes read lie before the buffer's last separator or just past it, where the reader keeps
  // padding: the window's bits past that separator are clear, so no token seems to end there.
  const std::size_t tag = lowestSetBit(~separators);
  const std::size_t first = tag + 2;
  if ((bytes[tag] != 'P' && bytes[tag] != 'L') || bytes[tag + 1] != ' ' || first >= 64 ||
      (separators >> first & 1) != 0 || separators >> first == 0) {
    return false;
  }
  const std::size_t gap = first + lowestSetBit(separators >> first);
  const std::size_t second = gap + 1;
  if (bytes[gap] != ' ' || second >= 64 || (separators >> second & 1) != 0 ||
      separators >> second == 0) {
    return false;
  }
  const std::size_t end = second + lowestSetBit(separators >> second);
  if (end == second + 1 && bytes[second] == 'L') return false;
  writeVertexLine(out, std::string_view(bytes + first, gap - first),
                  std::string_view(bytes + second, end - second));
  *pos += end;
  tokens.moveTo(*pos);
  return true;
}

// Copies the vertex records ahead that lie whole in the reader's buffer, as the section loop
// below would, and skips the other tokens among them, in one walk over the buffer. It stops
// before a record that may run on past the buffer, and before a "P" record whose second
// coordinate is "L" (secondIsNextTag), which the section loop handles. Returns true when it
// has used up the token that ends the section.
bool copyWholeRecords(TokenReader& tokens, OutputBuffer& out) {
  std::size_t pos = tokens.position();
  for (;;) {
    if (copyPlainRecord(tokens, out, &pos)) continue;
    // Any other record, or other token, token by token.
    std::string_view found[3];
    std::size_t stop = 0;
    if (!tokens.peekWholeToken(pos, &found[0], &stop)) return false;
    const std::string_view token = found[0];
    if (endsSection(token)) {
      tokens.moveTo(stop);
      return true;
    }
    if (!isTag(token)) {
      pos = stop;
      tokens.moveTo(pos);
      continue;
    }
    if (!tokens.peekWholeToken(stop, &found[1], &pos) ||
        !tokens.peekWholeToken(pos, &found[2], &pos)) {
      return false;
    }
    if (secondIsNextTag(token, found[2])) return false;
    writeVertexLine(out, found[1], found[2]);
    tokens.moveTo(pos);
  }
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
        if (copyWholeRecords(tokens, out)) break;
        more = tokens.next(&token);
      }
    }
    // The token that closed the section is used up: scanning goes on after it, so a section
    // opened right at that token is not opened.
  }
  out.flush();
}

}  // namespace lines2svg
