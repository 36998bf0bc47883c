#include "driver/windows_text.h"

#include <gtest/gtest.h>

namespace lines2svg {
namespace {

TEST(IsDeviceName, ADeviceAnywhereInThePath) {
  const struct {
    const wchar_t* name;
    bool device;
  } cases[] = {
      {L"con", true},
      {L"CON.txt", true},
      {L"aux.tar.gz", true},
      {L"com1.dat", true},
      {L"Com0.txt", true},
      {L"LPT9", true},
      {L"nul.", true},
      {L"nul .txt", true},
      {L"prn  ", true},
      {L"conin$", true},
      {L"CONOUT$.txt", true},
      {L"COM\u00B9.txt", true},
      {L"lpt\u00B3", true},
      {L"sub\\Lpt9\\plan.txt", true},
      {L"con\\plan.txt", true},
      {L"C:con", true},
      {L"C:\\data\\aux\\plan.txt", true},
      {L"com7:", true},
      {L"\\\\.\\COM7", true},
      {L"\\\\.\\COM7\\plan.txt", true},
      {L"\\\\?\\COM7\\plan.txt", true},
      {L"\\\\.\\com7.\\plan.txt", true},
      {L"\\\\.\\COM7\\.\\plan.txt", true},
      {L"//./COM7/plan.txt", true},
      {L"\\\\?\\GLOBALROOT\\Device\\Serial0\\x", true},
      {L"\\\\.\\pipe\\x", true},
      {L"\\\\.\\PhysicalDrive0", true},
      {L"\\??\\COM7", true},
      {L"\\\\?\\C:\\con\\plan.txt", true},
      {L"plan.txt", false},
      {L"console.txt", false},
      {L"com10.txt", false},
      {L"com.txt", false},
      {L"auxdat", false},
      {L"nul_.txt", false},
      {L"Mapy obce\\pl\u00E1n.txt", false},
      {L"\\\\.\\C:\\plan.txt", false},
      {L"\\\\?\\c:\\sub\\plan.txt", false},
      {L"\\\\?\\UNC\\server\\share\\plan.txt", false},
      {L"\\\\?\\Volume{8f2d6c1e-0000-0000-0000-100000000000}\\plan.txt", false},
      {L"\\\\server\\share\\plan.txt", false},
      {L"C:plan.txt", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isDeviceName(c.name), c.device) << c.name;
}

TEST(IsLinkTag, OnlyNameSurrogatesAreLinks) {
  const struct {
    std::uint32_t tag;
    bool link;
  } cases[] = {
      {0xA000000C, true},   // IO_REPARSE_TAG_SYMLINK
      {0xA0000003, true},   // IO_REPARSE_TAG_MOUNT_POINT (junctions too)
      {0xA000001D, true},   // IO_REPARSE_TAG_LX_SYMLINK
      {0x9000001A, false},  // IO_REPARSE_TAG_CLOUD
      {0x9000601A, false},  // IO_REPARSE_TAG_CLOUD_6, OneDrive's placeholders
      {0x80000013, false},  // IO_REPARSE_TAG_DEDUP
      {0x80000017, false},  // IO_REPARSE_TAG_WOF
  };
  for (const auto& c : cases) EXPECT_EQ(isLinkTag(c.tag), c.link) << std::hex << c.tag;
}

}  // namespace
}  // namespace lines2svg
