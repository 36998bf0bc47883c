// Reading a typed or piped name as Unicode on Windows.
#include "driver/windows_console.h"

#include <windows.h>

namespace lines2svg {

namespace {

constexpr wchar_t kEndOfInput = 0x1A;  // Ctrl-Z, typed at a console to end input.

// Reads the console in its line mode: each read returns when Enter is pressed.
class ConsoleNameInput : public NameInput {
 public:
  explicit ConsoleNameInput(HANDLE console) : console_(console) {}

  bool readName(NativeName* name) override {
    NameCollector<wchar_t> collector(PathStyle::kWindows, maxNameLength());
    // Blank lines are skipped; the rest of the line that holds the name is read and dropped.
    for (bool lineDone = false; !lineDone && !ended_ && !collector.hopeless();) {
      wchar_t c = 0;
      if (!readCharacter(&c)) break;
      if (c == L'\n' && !collector.waiting()) lineDone = true;
      collector.offer(c);
    }
    return collector.finish(name);
  }

  void waitForKey() override {
    // As for a piped name: no further than a name could reach.
    wchar_t c = 0;
    for (std::size_t skipped = 0; skipped < maxNameLength(); ++skipped) {
      if (ended_ || !readCharacter(&c) || c == L'\n') return;
    }
  }

 private:
  bool readCharacter(wchar_t* c) {
    if (next_ == end_) {
      DWORD got = 0;
      if (!ReadConsoleW(console_, buffer_, kBufferSize, &got, nullptr) || got == 0) {
        ended_ = true;
        return false;
      }
      next_ = 0;
      end_ = got;
    }
    *c = buffer_[next_++];
    if (*c == kEndOfInput) ended_ = true;
    return !ended_;
  }

  static constexpr DWORD kBufferSize = 4096;
  HANDLE console_;
  wchar_t buffer_[kBufferSize];
  DWORD next_ = 0;
  DWORD end_ = 0;
  bool ended_ = false;
};

}  // namespace

CodePages pipeCodePages() {
  CodePages pages;
  pages.console = GetConsoleCP();
  if (pages.console == 0) pages.console = GetOEMCP();
  pages.ansi = GetACP();
  return pages;
}

bool namesFile(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool decodeBytes(const std::string& bytes, unsigned codePage, std::wstring* text) {
  text->clear();
  if (bytes.empty()) return true;
  const int size = static_cast<int>(bytes.size());
  // Only UTF-8 is asked to refuse bad sequences: a wrong guess at it must not pass for a name.
  const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
  const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (length <= 0) return false;
  text->resize(static_cast<std::size_t>(length));
  return MultiByteToWideChar(codePage, flags, bytes.data(), size, text->data(), length) == length;
}

std::wstring decodePipedName(const std::string& bytes, const CodePages& codePages,
                             bool (*isFile)(const std::wstring&)) {
  std::wstring first;
  decodeBytes(bytes, codePages.console, &first);
  if (isFile(first)) return first;
  std::wstring other;
  if (decodeBytes(bytes, codePages.ansi, &other) && isFile(other)) return other;
  if (decodeBytes(bytes, CP_UTF8, &other) && isFile(other)) return other;
  return first;
}

std::unique_ptr<NameInput> consoleNameInput() {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (in == INVALID_HANDLE_VALUE || in == nullptr || !GetConsoleMode(in, &mode)) return nullptr;
  return std::make_unique<ConsoleNameInput>(in);
}

}  // namespace lines2svg
