// Static descriptions of the program's windows and their controls. The
// platform layer turns a definition into a live native window.
#pragma once

#include <cstdint>
#include <vector>

#include "app/text.h"

namespace jc {

struct Colour {
  uint8_t red, green, blue;
};

enum class ControlKind { ListView, PushButton, Label, TransparentLabel, ProgressBar, PictureBox };
enum class FrameKind { Fixed, None };
enum class WindowId { Main, Splash };

using Handler = void (*)();

// How a label or transparent label draws its text.
struct LabelStyle {
  Colour textColour{0, 0, 0};
  bool centredHorizontally = false;
  bool wordWrap = false;      // wrapped text starts at the top, otherwise centred vertically
  Text fontName;              // empty: the system's default GUI font
  int32_t fontHeight = 0;     // a LOGFONT height; only with a font name
  int32_t fontWeight = 400;
};

struct ColumnDefinition {
  Text title;
  int32_t width;
};

struct ControlDefinition {
  Text name;
  ControlKind kind = ControlKind::Label;
  Text parentName;  // empty: the window itself, otherwise a picture box of the same window
  int32_t left = 0, top = 0, width = 0, height = 0;
  Text text;
  bool visible = true;
  bool enabled = true;
  bool tabStop = false;
  Handler clicked = nullptr;
  LabelStyle label;                       // labels and transparent labels
  std::vector<ColumnDefinition> columns;  // list views
  int32_t pictureResource = 0;            // picture boxes: the embedded JPEG, 0 for none
};

// A control with the settings that most controls share.
ControlDefinition MakeControl(const Text& name, ControlKind kind, int32_t left, int32_t top, int32_t width,
                              int32_t height, const Text& text);

struct WindowDefinition {
  WindowId id;
  Text title;
  int32_t width, height;  // outer size, frame included
  FrameKind frame;
  bool systemMenu, minimizeButton, maximizeButton;
  bool centred;
  bool taskbarButton;
  bool escCloses;
  bool visible;
  Handler created;
  std::vector<ControlDefinition> controls;  // stacking order: first lies on top
};

struct Point {
  int32_t x, y;
};

// Where a centred window of the given outer size goes on a screen.
Point CentredOrigin(int32_t screenWidth, int32_t screenHeight, int32_t width, int32_t height);

// The value a progress bar stores when it is written a maximum or a position.
int32_t ClampProgressValue(int32_t value);

// The position a progress bar is drawn at: its stored position limited to
// the range between its minimum and its maximum, whichever is smaller.
int32_t DrawnProgressPosition(int32_t minimum, int32_t maximum, int32_t position);

const ControlDefinition* FindControl(const WindowDefinition& window, const Text& name);

}  // namespace jc
