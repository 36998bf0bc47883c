#include "driver/file_identity.h"

#include <gtest/gtest.h>

namespace lines2svg {
namespace {

// A stand-in for the system: a name's first letter says what looking it up finds. "d" is the
// drawing, "a" and "b" two other files, "n" nothing, "e" an error, "c" a device.
Lookup fakeLookUp(const NativeName& name, FileIdentity* identity) {
  switch (name.empty() ? 'n' : static_cast<char>(name[0])) {
    case 'd':
      *identity = {1, 1};
      return Lookup::kFound;
    case 'a':
      *identity = {1, 2};
      return Lookup::kFound;
    case 'b':
      *identity = {2, 1};
      return Lookup::kFound;
    case 'e':
      return Lookup::kUnknown;
    case 'c':
      return Lookup::kDevice;
    default:
      return Lookup::kAbsent;
  }
}

TEST(CheckOutputs, RefusesUnlessItKnows) {
  const struct {
    const char* names;  // the first letters of the vertex, shape and SVG files' names
    OutputCheck check;
  } cases[] = {
      {"nnn", OutputCheck::kSafe},
      {"abn", OutputCheck::kSafe},
      {"nnd", OutputCheck::kWouldOverwriteInput},
      {"edn", OutputCheck::kWouldOverwriteInput},
      {"nen", OutputCheck::kCannotWrite},
      {"ncn", OutputCheck::kCannotWrite},
      {"ana", OutputCheck::kCannotWrite},
      {"nbb", OutputCheck::kCannotWrite},
  };
  for (const auto& c : cases) {
    auto name = [&](int i) {
      return NativeName(1, static_cast<NativeName::value_type>(c.names[i]));
    };
    const OutputNames names{name(0), name(1), name(2)};
    EXPECT_EQ(checkOutputs(FileIdentity{1, 1}, names, fakeLookUp), c.check) << c.names;
  }
}

#if defined(_WIN32)
TEST(IsDeviceName, AsWindowsTakesNames) {
  for (const wchar_t* name : {L"con", L"CON.txt", L"aux.txt", L"com1.dat", L"sub\\Lpt9", L"nul"}) {
    EXPECT_TRUE(isDeviceName(name)) << name;
  }
  for (const wchar_t* name : {L"plan.txt", L"console.txt", L"com0.txt", L"auxdat"}) {
    EXPECT_FALSE(isDeviceName(name)) << name;
  }
}
#endif

}  // namespace
}  // namespace lines2svg
