#include "driver/windows_text.h"

#include <gtest/gtest.h>

namespace lines2svg {
namespace {

TEST(IsDeviceName, ADeviceAnywhereInThePath) {
  const wchar_t* const devices[] = {L"con",
                                    L"CON.txt",
                                    L"aux.tar.gz",
                                    L"com1.dat",
                                    L"Com0.txt",
                                    L"LPT9",
                                    L"nul.",
                                    L"nul .txt",
                                    L"prn  ",
                                    L"conin$",
                                    L"CONOUT$.txt",
                                    L"COM\u00B9.txt",
                                    L"lpt\u00B3",
                                    L"sub\\Lpt9\\plan.txt",
                                    L"con\\plan.txt",
                                    L"C:con",
                                    L"C:\\data\\aux\\plan.txt",
                                    L"com7:",
                                    L"\\\\.\\COM7",
                                    L"\\\\.\\COM7\\plan.txt",
                                    L"\\\\?\\COM7\\plan.txt",
                                    L"\\\\.\\com7.\\plan.txt",
                                    L"\\\\.\\COM7\\.\\plan.txt",
                                    L"//./COM7/plan.txt",
                                    L"\\\\?\\GLOBALROOT\\Device\\Serial0\\x",
                                    L"\\\\.\\pipe\\x",
                                    L"\\\\.\\PhysicalDrive0",
                                    L"\\??\\COM7",
                                    L"\\\\?\\C:\\con\\plan.txt"};
  const wchar_t* const files[] = {L"plan.txt",
                                  L"console.txt",
                                  L"com10.txt",
                                  L"com.txt",
                                  L"auxdat",
                                  L"nul_.txt",
                                  L"Mapy obce\\pl\u00E1n.txt",
                                  L"\\\\.\\C:\\plan.txt",
                                  L"\\\\?\\c:\\sub\\plan.txt",
                                  L"\\\\?\\UNC\\server\\share\\plan.txt",
                                  L"\\\\server\\share\\plan.txt",
                                  L"C:plan.txt",
                                  L"\\\\?\\Volume{8f2d6c1e-0000-0000-0000-100000000000}\\plan.txt"};
  for (const wchar_t* name : devices) EXPECT_TRUE(isDeviceName(name)) << name;
  for (const wchar_t* name : files) EXPECT_FALSE(isDeviceName(name)) << name;
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
