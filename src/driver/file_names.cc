#include "driver/file_names.h"

namespace lines2svg {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

void setExtension(std::string& name, std::string_view extension) {
  if (name.size() < extension.size()) {
    name.append(extension);
  } else {
    name.replace(name.size() - extension.size(), extension.size(), extension);
  }
}

bool hasOutputExtension(std::string_view name) {
  if (name.size() < 3) return false;
  std::string tail;
  for (char c : name.substr(name.size() - 3)) tail += lowerAscii(c);
  return tail == "dat" || tail == "trd" || tail == "svg";
}

}  // namespace lines2svg
