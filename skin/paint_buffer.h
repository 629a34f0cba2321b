// An off-screen bitmap to draw into first, so that what the user sees
// changes in one step instead of flickering through the layers.
#pragma once

#include <windows.h>

namespace skin {

class PaintBuffer {
 public:
  PaintBuffer(HDC target, int width, int height);
  ~PaintBuffer();
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;

  // Where to draw. When no bitmap could be made this is the target itself,
  // so drawing still happens, only without the buffer.
  HDC Dc() const { return dc_; }

  // Copies the drawing to the target at (0, 0).
  void CopyToTarget();

 private:
  HDC target_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  int width_;
  int height_;
};

}  // namespace skin
