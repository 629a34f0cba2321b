// The program-wide objects: the frame, the result list and the scan state.
#pragma once

#include "app/application.h"
#include "cleaner/result_list.h"
#include "cleaner/scan_state.h"

namespace jc {

struct Program {
  Program(EventPlatform& events, WindowFactory& factory) : app(events, factory) {}
  Application app;
  ResultList results;
  ScanState scan;
};

// The one program object; set once at start-up.
Program& TheProgram();
void SetTheProgram(Program* program);

// Gives back the scan's texts when the program ends normally.
void ExitCleanup();

}  // namespace jc
