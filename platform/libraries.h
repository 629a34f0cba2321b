// What skin deployment needs of the system: the current directory, writing
// files, the blocks the program carries, and loading and calling libraries.
#pragma once

#include <cstdint>
#include <memory>

#include "app/byte_block.h"
#include "app/text.h"
#include "platform/event_platform.h"

namespace jc {

class LoadedLibrary : public ExternalLibrary {
 public:
  // The address of an exported entry, or nullptr.
  virtual void* Entry(const Text& name) = 0;
};

class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // nullptr when the library cannot be loaded.
  virtual std::unique_ptr<LoadedLibrary> Load(const Text& path) = 0;
  // Calls entry(first, second) with the standard calling convention; false
  // when the stack pointer did not come back to where it was.
  virtual bool CallWithStackCheck(void* entry, const Text& first, const Text& second, int32_t& result) = 0;
};

class SkinFiles {
 public:
  virtual ~SkinFiles() = default;
  // The current directory without a final "\" (a drive's root keeps it);
  // the empty text when the system reports a failure.
  virtual Text CurrentDirectory() = 0;
  // Creates or empties the file and writes the block; true on success.
  virtual bool WriteWholeFile(const Text& path, const ByteBlock& block) = 0;
  virtual const ByteBlock& SkinEngineBlock() = 0;
  virtual const ByteBlock& SkinFileBlock() = 0;
};

}  // namespace jc
