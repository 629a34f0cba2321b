#include "startup/skin_deployment.h"

namespace jc {

namespace {

const char kEngineFile[] = "jedata.dll";
const char kEngineEntry[] = "SkinH_AttachEx";

void BindEngine(SkinJob& job) {
  std::unique_ptr<LoadedLibrary> library =
      job.loader.Load(TextConcat({job.app.ProgramFolder(), "\\", kEngineFile}));
  if (!library) library = job.loader.Load(kEngineFile);
  void* entry = library ? library->Entry(kEngineEntry) : nullptr;
  if (!entry) {
    library.reset();
    job.app.ReportFatalError(TextConcat({"无法找到指定DLL库文件“", kEngineFile, "”中的输出命令“", kEngineEntry, "”"}), 0);
  }
  job.binding.entry = entry;
  job.app.AddExternalLibrary(std::move(library));
}

}  // namespace

int32_t AttachSkin(SkinJob& job, const Text& skinPath, const Text& second) {
  if (!job.binding.entry) BindEngine(job);
  int32_t result = 0;
  if (!job.loader.CallWithStackCheck(job.binding.entry, skinPath, second, result)) {
    job.app.ReportFatalError("调用DLL命令后发现堆栈错误", 6);
  }
  return result;
}

void SkinDeployment(SkinJob& job) {
  job.files.WriteWholeFile(TextConcat({job.files.CurrentDirectory(), "\\jedata.dll"}), job.files.SkinEngineBlock());
  job.files.WriteWholeFile(TextConcat({job.files.CurrentDirectory(), "\\1.she"}), job.files.SkinFileBlock());
  AttachSkin(job, TextConcat({job.files.CurrentDirectory(), "\\1.she"}), "");
}

}  // namespace jc
