#include "platform/win32/win32_skin.h"

#include "platform/stack_check/stack_checked_call.h"

namespace jc {

namespace {

class Win32Library : public LoadedLibrary {
 public:
  explicit Win32Library(HMODULE module) : module_(module) {}
  ~Win32Library() override { FreeLibrary(module_); }
  void* Entry(const Text& name) override {
    return reinterpret_cast<void*>(GetProcAddress(module_, name.c_str()));
  }

 private:
  HMODULE module_;
};

}  // namespace

ByteBlock ResourceBlock(HINSTANCE instance, int resource) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return ByteBlock();
  const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, found)));
  if (!bytes) return ByteBlock();
  return ByteBlock(bytes, bytes + SizeofResource(instance, found));
}

Win32SkinFiles::Win32SkinFiles(HINSTANCE instance)
    : engine_(ResourceBlock(instance, kSkinEngineResource)), skin_(ResourceBlock(instance, kSkinFileResource)) {}

Text Win32SkinFiles::CurrentDirectory() {
  char buffer[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return Text();
  return Text(buffer, length);
}

bool Win32SkinFiles::WriteWholeFile(const Text& path, const ByteBlock& block) {
  if (path.empty()) return false;
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool written = true;
  if (!block.empty()) {
    DWORD count = 0;
    written = WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &count, nullptr) &&
              count == block.size();
  }
  const bool closed = CloseHandle(file) != FALSE;
  return written && closed;
}

std::unique_ptr<LoadedLibrary> Win32LibraryLoader::Load(const Text& path) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) return nullptr;
  return std::make_unique<Win32Library>(module);
}

bool Win32LibraryLoader::CallWithStackCheck(void* entry, const Text& first, const Text& second, int32_t& result) {
  return StackCheckedCall2(entry, first.c_str(), second.c_str(), &result) == 1;
}

}  // namespace jc
