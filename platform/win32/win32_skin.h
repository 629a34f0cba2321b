// Skin deployment's files, embedded blocks and library calls over Win32.
#pragma once

#include <windows.h>

#include "platform/libraries.h"

namespace jc {

constexpr int kSkinEngineResource = 102;
constexpr int kSkinFileResource = 103;

// A block the program carries as a resource; empty when it is missing.
ByteBlock ResourceBlock(HINSTANCE instance, int resource);

class Win32SkinFiles : public SkinFiles {
 public:
  explicit Win32SkinFiles(HINSTANCE instance);
  Text CurrentDirectory() override;
  bool WriteWholeFile(const Text& path, const ByteBlock& block) override;
  const ByteBlock& SkinEngineBlock() override { return engine_; }
  const ByteBlock& SkinFileBlock() override { return skin_; }

 private:
  ByteBlock engine_;
  ByteBlock skin_;
};

class Win32LibraryLoader : public LibraryLoader {
 public:
  std::unique_ptr<LoadedLibrary> Load(const Text& path) override;
  bool CallWithStackCheck(void* entry, const Text& first, const Text& second, int32_t& result) override;
};

}  // namespace jc
