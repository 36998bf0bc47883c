// Windows test helper. Holds a file open, as another program would, until its standard input
// ends, and prints "held" once it is held: with no sharing, as an editor that locks it does, or
// with --writing open for writing and shared for reading, as .NET's FileStream writes a file, or
// with --sharing-write open for reading and shared for writing only. With --short it prints the
// file's short (8.3) name instead.
//
//   hold_file [--writing | --sharing-write] FILE < pipe
//   hold_file --short FILE
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--short") == 0) {
    char name[MAX_PATH];
    if (GetShortPathNameA(argv[2], name, MAX_PATH) == 0) return 1;
    std::puts(name);
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
