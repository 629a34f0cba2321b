#include "skin/paint_buffer.h"

namespace skin {

PaintBuffer::PaintBuffer(HDC target, int width, int height)
    : target_(target), dc_(target), width_(width), height_(height) {
  if (width <= 0 || height <= 0) return;
  HDC memory = CreateCompatibleDC(target);
  if (!memory) return;
  bitmap_ = CreateCompatibleBitmap(target, width, height);
  if (!bitmap_) {
    DeleteDC(memory);
    return;
  }
  oldBitmap_ = SelectObject(memory, bitmap_);
  dc_ = memory;
}

PaintBuffer::~PaintBuffer() {
  if (dc_ == target_) return;
  SelectObject(dc_, oldBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void PaintBuffer::CopyToTarget() {
  if (dc_ == target_) return;
  BitBlt(target_, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
}

}  // namespace skin
