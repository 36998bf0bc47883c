#include "driver/windows_text.h"

#include <gtest/gtest.h>

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
  // last part, parts that \\?\ leaves as they stand, streams and reserved characters.
  const wchar_t* const refused[] = {L"C:\\CON.txt",
                                    L"C:\\aux.tar.gz",
                                    L"C:\\Com0.txt",
                                    L"C:\\LPT9",
                                    L"C:\\nul .txt",
                                    L"C:\\CONOUT$.txt",
                                    L"C:\\COM\u00B9.txt",
                                    L"C:\\sub\\Lpt9\\plan.txt",
                                    L"\\\\?\\C:\\con\\plan.txt",

                                    L"\\\\?\\COM7\\plan.txt",
                                    L"\\\\.\\com7.\\plan.txt",

                                    L"\\??\\C:\\plan.txt",
                                    L"\\\\.\\C:",
                                    L"\\\\.\\C:\\",
                                    L"C:\\",
                                    L"\\\\.\\Volume{8f2d6c1e-0000-0000-0000-100000000000}",
                                    L"\\\\.\\pipe\\adv5",
                                    L"\\\\srv\\pipe\\x",
                                    L"\\\\srv\\PIPE.\\x",
                                    L"\\\\?\\UNC\\srv\\pipe\\x",
                                    L"\\\\srv\\mailslot\\x",
                                    L"\\\\?\\GLOBALROOT\\x",

                                    L"\\\\srv\\share",
                                    L"\\\\srv\\share\\",

                                    L"\\\\?\\C:\\..\\pipe\\x",
                                    L"\\\\.\\C:\\.\\x",
                                    L"\\\\?\\C:\\a\\\\b",
                                    L"\\\\?\\C:\\a/b",
                                    L"C:\\plan.txt:stream",
                                    L"C:plan.txt",
                                    L"C:\\pl*n.txt"};
  for (const wchar_t* full : refused) {
    std::wstring folder;
    std::wstring name;
    EXPECT_FALSE(splitFullPath(full, &folder, &name)) << full;
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
