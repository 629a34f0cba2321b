// Thin wrappers over the native controls that a window definition names.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/window_definition.h"
#include "cleaner/result_list.h"

namespace jc {

class Control {
 public:
  Control(HWND hwnd, const ControlDefinition& definition) : hwnd_(hwnd), definition_(definition) {}
  virtual ~Control() = default;
  HWND Hwnd() const { return hwnd_; }
  const ControlDefinition& Definition() const { return definition_; }
  virtual LRESULT OnNotify(NMHDR* header);
  virtual void OnCommand(WORD notification);

 protected:
  HWND hwnd_;
  const ControlDefinition& definition_;
};

struct ControlContext {
  HWND parent;
  HINSTANCE instance;
  ResultList* results;  // what a list view shows
};

// Creates the native control; nullptr when the system refuses.
std::unique_ptr<Control> CreateControl(const ControlDefinition& definition, const ControlContext& context);

void RegisterControlClasses(HINSTANCE instance);

// Label captions as the program holds them (code page 936).
void SetLabelText(HWND label, const Text& text);
Text LabelText(HWND label);

// Progress bars store what they are written, limited to 0..32767.
void SetProgressMaximum(HWND bar, int32_t maximum);
void SetProgressPosition(HWND bar, int32_t position);
int32_t ProgressPosition(HWND bar);

// List views draw their rows from the model, progress bars their stored
// values; what they show is brought up to date before events are processed.
void SyncDeferredControls();

}  // namespace jc
