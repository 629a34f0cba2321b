#include "cleaner/junk_targets.h"

namespace jc {

namespace {

constexpr size_t kFolderBufferBytes = 260;

}  // namespace

const std::vector<JunkTarget>& CountTargets() {
  static const std::vector<JunkTarget> targets = {
      {FolderKind::TempFolder, "*.bak"},          {FolderKind::TempFolder, "*.chk"},
      {FolderKind::TempFolder, "*.fts"},          {FolderKind::TempFolder, "*.tmp"},
      {FolderKind::TempFolder, "*.old"},          {FolderKind::TempFolder, "*.xlk"},
      {FolderKind::TempFolder, "*.chk"},          {FolderKind::TempFolder, "*.gid"},
      {FolderKind::TempFolder, "*.log"},          {FolderKind::TempFolder, "*._mp"},
      {FolderKind::TempFolder, "recycled\\*.*"},  {FolderKind::WindowsFolder, "*.bak"},
      {FolderKind::WindowsFolder, "prefetch\\*.*"},
  };
  return targets;
}

const std::vector<JunkTarget>& ListTargets() {
  static const std::vector<JunkTarget> targets = {
      {FolderKind::TempFolder, "*.bak"},          {FolderKind::TempFolder, "*.chk"},
      {FolderKind::TempFolder, "*.fts"},          {FolderKind::TempFolder, "*.tmp"},
      {FolderKind::TempFolder, "*.xlk"},          {FolderKind::TempFolder, "*._mp"},
      {FolderKind::TempFolder, "*.log"},          {FolderKind::TempFolder, "*.gid"},
      {FolderKind::TempFolder, "recycled\\*.*"},  {FolderKind::TempFolder, "*.chk"},
      {FolderKind::WindowsFolder, "*.bak"},       {FolderKind::WindowsFolder, "prefetch\\*.*"},
  };
  return targets;
}

Text SubfolderPart(const Text& pattern) {
  const size_t separator = pattern.rfind('\\');
  if (separator == Text::npos) return Text();
  return pattern.substr(0, separator + 1);
}

Text ResolveFolder(FolderKind kind, FolderSource& source) {
  Text path;
  if (!source.QueryFolder(kind, path)) return Text();
  if (path.size() + 1 > kFolderBufferBytes) return Text();
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

}  // namespace jc
