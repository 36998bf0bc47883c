#include <string>
#include <string_view>

#include "passes/output_buffer.h"
#include "passes/passes.h"
#include "passes/token_reader.h"

namespace lines2svg {

namespace {

bool endsSection(std::string_view token) { return !token.empty() && token[0] == '&'; }

// Copies the two coordinate tokens of a vertex record as one line and leaves `current` on the
// second coordinate, which the section reader looks at again. A record cut short by the end of
// the drawing writes nothing and returns false.
bool copyVertex(TokenReader& tokens, OutputBuffer& out, std::string& first,
                std::string_view* current) {
  if (!tokens.next(current)) return false;
  // Reading the second coordinate may refill the buffer under the first, so it is kept aside.
  first.assign(*current);
  if (!tokens.next(current)) return false;
  out.write(first);
  out.put(' ');
  out.write(*current);
  out.put('\n');
  return true;
}

}  // namespace

void extractLineObjects(std::istream& drawing, std::ostream& vertices) {
  TokenReader tokens(drawing);
  OutputBuffer out(vertices);
  std::string_view token;
  std::string first;
  while (tokens.next(&token)) {
    if (token != "&L") continue;
    bool more = tokens.next(&token);
    out.write("x\n");
    while (more && !endsSection(token)) {
      if (token == "P") more = copyVertex(tokens, out, first, &token);
      if (more && token == "L") more = copyVertex(tokens, out, first, &token);
      if (more) more = tokens.next(&token);
    }
    // The token that closed the section is used up: scanning goes on after it, so a section
    // opened right at that token is not opened.
  }
  out.flush();
}

}  // namespace lines2svg
