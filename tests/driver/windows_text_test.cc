#include "driver/windows_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace lines2svg {
namespace {

// Full paths as GetFullPathNameW gives them: only a file in a folder on a disk is opened, through
// its folder in the \\?\ form; anything that may lead to a device is refused.
TEST(SplitFullPath, OnlyAFileInAFolderOnADisk) {
  const std::wstring volume = L"Volume{8f2d6c1e-0000-0000-0000-100000000000}";
  const struct {
    std::wstring full;
    std::wstring folder;
    std::wstring name;
  } accepted[] = {
      {L"C:\\plan.txt", L"\\\\?\\C:\\", L"plan.txt"},
      {L"c:\\Mapy obce\\pl\u00E1n.txt", L"\\\\?\\c:\\Mapy obce\\", L"pl\u00E1n.txt"},
      {L"\\\\.\\C:\\sub\\plan.txt", L"\\\\?\\C:\\sub\\", L"plan.txt"},
      {L"\\\\?\\Z:\\con10.txt", L"\\\\?\\Z:\\", L"con10.txt"},
      {L"\\\\server\\share\\dir\\plan.txt", L"\\\\?\\UNC\\server\\share\\dir\\", L"plan.txt"},
      {L"\\\\.\\unc\\server\\share\\auxdat", L"\\\\?\\UNC\\server\\share\\", L"auxdat"},
      {L"\\\\?\\" + volume + L"\\plan.txt", L"\\\\?\\" + volume + L"\\", L"plan.txt"},
      {L"C:\\pipe\\nul_.txt", L"\\\\?\\C:\\pipe\\", L"nul_.txt"},
  };
  for (const auto& c : accepted) {
    std::wstring folder;
    std::wstring name;
    EXPECT_TRUE(splitFullPath(c.full, &folder, &name)) << c.full;
    EXPECT_EQ(folder, c.folder) << c.full;
    EXPECT_EQ(name, c.name) << c.full;
  }
  // Devices anywhere in the path, bare volumes, the pipe and mailslot namespaces, GLOBALROOT; no
  // last part, parts that \\?\ leaves as they stand, streams and reserved characters: the paths
  // two spaces or a line apart.
  std::wstring refused =
      LR"(C:\CON.txt  C:\aux.tar.gz  C:\Com0.txt  C:\LPT9  C:\nul .txt
C:\CONOUT$.txt  C:\COM¹.txt  C:\sub\Lpt9\plan.txt  \\?\C:\con\plan.txt  \\?\COM7\plan.txt
\\.\com7.\plan.txt  \??\C:\plan.txt  \\.\C:  \\.\C:\  C:\  \\.\pipe\adv5  \\srv\pipe\x
\\.\Volume{8f2d6c1e-0000-0000-0000-100000000000}  \\srv\PIPE.\x  \\?\UNC\srv\pipe\x
\\srv\mailslot\x  \\?\GLOBALROOT\x  \\srv\share  \\srv\share\  \\?\C:\..\pipe\x  \\.\C:\.\x
\\?\C:\a\\b  \\?\C:\a/b  C:\plan.txt:stream  C:plan.txt  C:\pl*n.txt)";
  for (std::size_t at; (at = refused.find(L'\n')) != refused.npos;) refused.replace(at, 1, L"  ");
  for (std::size_t start = 0; start < refused.size();) {
    const std::size_t end = std::min(refused.find(L"  ", start), refused.size());
    const std::wstring full = refused.substr(start, end - start);
    std::wstring folder;
    std::wstring name;
    EXPECT_FALSE(splitFullPath(full, &folder, &name)) << full;
    start = end + 2;
  }
}

// Symbolic links (0xA000000C), mount points and junctions (0xA0000003) and WSL's links
// (0xA000001D) are links; cloud files (0x9000001A, OneDrive's 0x9000601A), deduplicated
// (0x80000013) and compressed (0x80000017) files are not.
TEST(IsLinkTag, OnlyNameSurrogatesAreLinks) {
  for (std::uint32_t tag : {0xA000000Cu, 0xA0000003u, 0xA000001Du}) EXPECT_TRUE(isLinkTag(tag));
  for (std::uint32_t tag : {0x9000001Au, 0x9000601Au, 0x80000013u, 0x80000017u}) {
    EXPECT_FALSE(isLinkTag(tag)) << std::hex << tag;
  }
}

}  // namespace
}  // namespace lines2svg
