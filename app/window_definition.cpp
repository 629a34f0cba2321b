#include "app/window_definition.h"

namespace jc {

ControlDefinition MakeControl(const Text& name, ControlKind kind, int32_t left, int32_t top, int32_t width,
                              int32_t height, const Text& text) {
  ControlDefinition control;
  control.name = name;
  control.kind = kind;
  control.left = left;
  control.top = top;
  control.width = width;
  control.height = height;
  control.text = text;
  return control;
}

Point CentredOrigin(int32_t screenWidth, int32_t screenHeight, int32_t width, int32_t height) {
  return Point{(screenWidth - width) / 2, (screenHeight - height) / 2};
}

int32_t ClampProgressValue(int32_t value) {
  if (value < 0) return 0;
  if (value > 32767) return 32767;
  return value;
}

int32_t DrawnProgressPosition(int32_t minimum, int32_t maximum, int32_t position) {
  const int32_t low = minimum < maximum ? minimum : maximum;
  const int32_t high = minimum < maximum ? maximum : minimum;
  if (position < low) return low;
  if (position > high) return high;
  return position;
}

const ControlDefinition* FindControl(const WindowDefinition& window, const Text& name) {
  for (const ControlDefinition& control : window.controls) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

}  // namespace jc
