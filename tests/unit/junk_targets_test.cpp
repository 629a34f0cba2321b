#include "cleaner/junk_targets.h"

#include <gtest/gtest.h>

#include <map>

namespace jc {
namespace {

using K = FolderKind;

void ExpectTable(const std::vector<JunkTarget>& actual, const std::vector<JunkTarget>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i].folder, expected[i].folder) << "row " << i + 1;
    EXPECT_EQ(actual[i].pattern, expected[i].pattern) << "row " << i + 1;
  }
}

TEST(JunkTargets, CountTableRowByRow) {
  ExpectTable(CountTargets(), {{K::TempFolder, "*.bak"},
                               {K::TempFolder, "*.chk"},
                               {K::TempFolder, "*.fts"},
                               {K::TempFolder, "*.tmp"},
                               {K::TempFolder, "*.old"},
                               {K::TempFolder, "*.xlk"},
                               {K::TempFolder, "*.chk"},
                               {K::TempFolder, "*.gid"},
                               {K::TempFolder, "*.log"},
                               {K::TempFolder, "*._mp"},
                               {K::TempFolder, "recycled\\*.*"},
                               {K::WindowsFolder, "*.bak"},
                               {K::WindowsFolder, "prefetch\\*.*"}});
}

TEST(JunkTargets, ListTableRowByRow) {
  ExpectTable(ListTargets(), {{K::TempFolder, "*.bak"},
                              {K::TempFolder, "*.chk"},
                              {K::TempFolder, "*.fts"},
                              {K::TempFolder, "*.tmp"},
                              {K::TempFolder, "*.xlk"},
                              {K::TempFolder, "*._mp"},
                              {K::TempFolder, "*.log"},
                              {K::TempFolder, "*.gid"},
                              {K::TempFolder, "recycled\\*.*"},
                              {K::TempFolder, "*.chk"},
                              {K::WindowsFolder, "*.bak"},
                              {K::WindowsFolder, "prefetch\\*.*"}});
}

TEST(JunkTargets, FolderKindsKeepTheirNumbers) {
  EXPECT_EQ(static_cast<int>(K::TempFolder), 11);
  EXPECT_EQ(static_cast<int>(K::WindowsFolder), 9);
}

TEST(JunkTargets, SubfolderPart) {
  EXPECT_EQ(SubfolderPart("recycled\\*.*"), "recycled\\");
  EXPECT_EQ(SubfolderPart("prefetch\\*.*"), "prefetch\\");
  EXPECT_EQ(SubfolderPart("*.bak"), "");
  EXPECT_EQ(SubfolderPart("a\\b\\*.x"), "a\\b\\");
}

class FakeFolders : public FolderSource {
 public:
  std::map<FolderKind, Text> paths;
  bool QueryFolder(FolderKind kind, Text& path) override {
    auto found = paths.find(kind);
    if (found == paths.end()) return false;
    path = found->second;
    return true;
  }
};

TEST(ResolveFolder, AddsKeepsOrRefuses) {
  struct Case {
    const char* what;
    bool available;
    Text given;
    Text expected;
  };
  const Text longest(258, 'x');  // with a "\" added it still fits with its NUL
  const Case cases[] = {
      {"separator added", true, "C:\\WINDOWS", "C:\\WINDOWS\\"},
      {"separator kept", true, "C:\\users\\root\\Temp\\", "C:\\users\\root\\Temp\\"},
      {"root kept", true, "C:\\", "C:\\"},
      {"empty stays empty", true, "", ""},
      {"259 bytes fit with their NUL", true, Text(259, 'x'), Text(259, 'x') + "\\"},
      {"258 bytes", true, longest, longest + "\\"},
      {"260 bytes do not fit", true, Text(260, 'x'), ""},
      {"failure", false, "", ""},
  };
  for (const Case& c : cases) {
    FakeFolders folders;
    if (c.available) folders.paths[K::WindowsFolder] = c.given;
    EXPECT_EQ(ResolveFolder(K::WindowsFolder, folders), c.expected) << c.what;
  }
}

TEST(ResolveFolder, AsksForTheRightFolder) {
  FakeFolders folders;
  folders.paths[K::TempFolder] = "C:\\Temp";
  folders.paths[K::WindowsFolder] = "C:\\Windows";
  EXPECT_EQ(ResolveFolder(K::TempFolder, folders), "C:\\Temp\\");
  EXPECT_EQ(ResolveFolder(K::WindowsFolder, folders), "C:\\Windows\\");
}

}  // namespace
}  // namespace jc
