// Windows test helper. Holds a file open, as another program would, until its standard input
// ends, and prints "held" once it is held: with no sharing, as an editor that locks it does, or
// with --writing open for writing and shared for reading, as .NET's FileStream writes a file, or
// with --sharing-write open for reading and shared for writing only. With --short it prints the
// file's short (8.3) name instead. With --pipe it serves the named pipe \\.\pipe\NAME instead,
// and once its input ends prints whether a client ever connected to it.
//
//   hold_file [--writing | --sharing-write] FILE < pipe
//   hold_file --short FILE
//   hold_file --pipe NAME < pipe
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--short") == 0) {
    char name[MAX_PATH];
    if (GetShortPathNameA(argv[2], name, MAX_PATH) == 0) return 1;
    std::puts(name);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--pipe") == 0) {
    // Without waiting, a connect only tells the pipe's state: still listening when no client came.
    const std::string name = std::string("\\\\.\\pipe\\") + argv[2];
    const HANDLE pipe =
        CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_NOWAIT, 1, 512, 512, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return 1;
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    const bool listening =
        !ConnectNamedPipe(pipe, nullptr) && GetLastError() == ERROR_PIPE_LISTENING;
    std::puts(listening ? "untouched" : "connected");
    CloseHandle(pipe);
    return 0;
  }
  const bool writing = argc == 3 && std::strcmp(argv[1], "--writing") == 0;
  const bool sharingWrite = argc == 3 && std::strcmp(argv[1], "--sharing-write") == 0;
  if (argc != (writing || sharingWrite ? 3 : 2)) return 2;
  const DWORD share = writing ? FILE_SHARE_READ : sharingWrite ? FILE_SHARE_WRITE : 0;
  const HANDLE file = CreateFileA(argv[argc - 1], writing ? GENERIC_WRITE : GENERIC_READ, share,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::puts("held");
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  CloseHandle(file);
  return 0;
}
