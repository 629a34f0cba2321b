#include "app/program.h"

namespace jc {

namespace {
Program* g_program = nullptr;
}  // namespace

Program& TheProgram() { return *g_program; }
void SetTheProgram(Program* program) { g_program = program; }

void ExitCleanup() { TheProgram().scan.ReleaseTexts(); }

}  // namespace jc
