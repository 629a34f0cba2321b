// The skin file: what it holds and how it is read. No Win32 header here, so
// the reader is built and tested on any system. skin/FORMAT.md describes the
// bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace skin {

struct Rgb {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};

inline bool operator==(Rgb a, Rgb b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// Everything a skin decides. A record missing from a file keeps the value
// given here, so a short skin still paints every part.
struct SkinLook {
  Rgb windowBackground{245, 246, 248};
  Rgb windowText{32, 33, 36};
  Rgb captionActive{40, 110, 200};
  Rgb captionTextActive{255, 255, 255};
  Rgb captionInactive{150, 170, 200};
  Rgb captionTextInactive{235, 240, 248};
  Rgb frameLine{30, 80, 150};
  Rgb captionButtonHot{70, 135, 220};
  Rgb closeButtonHot{210, 50, 50};
  Rgb buttonFace{255, 255, 255};
  Rgb buttonFaceHot{230, 240, 252};
  Rgb buttonFacePressed{200, 220, 245};
  Rgb buttonFaceDisabled{240, 240, 240};
  Rgb buttonBorder{170, 175, 185};
  Rgb buttonBorderDefault{40, 110, 200};
  Rgb buttonText{32, 33, 36};
  Rgb buttonTextDisabled{160, 160, 160};
  uint16_t frameLineWidth = 1;
  uint16_t buttonCornerRadius = 3;
  uint16_t buttonBorderWidth = 1;
};

enum class SkinFileStatus {
  Ok,
  TooShort,          // fewer bytes than the header
  TooLarge,          // more bytes than any skin needs
  BadMagic,          // does not begin with ".SHE" and a zero byte
  UnknownVersion,    // a version this reader does not know
  BodyLengthWrong,   // the header's body length is not what follows it
  RecordTruncated,   // a record header or payload runs past the end
  RecordCountWrong,  // the records do not fill the body exactly
  BadRecordLength,   // a known record with a payload of the wrong size
  ValueOutOfRange,   // a size outside the range FORMAT.md allows
  DuplicateRecord,   // the same known record twice
};

const char* SkinFileStatusName(SkinFileStatus status);

// Layout constants shared with the skin writer and the tests.
constexpr uint8_t kSkinMagic[5] = {0x2E, 0x53, 0x48, 0x45, 0x00};
constexpr uint8_t kSkinVersion = 1;
constexpr size_t kSkinHeaderSize = 12;
constexpr size_t kRecordHeaderSize = 4;
constexpr size_t kMaxSkinFileSize = 64 * 1024;

// Record tags. Colours carry three bytes (red, green, blue), sizes a
// little-endian 16-bit number.
enum SkinTag : uint16_t {
  kTagWindowBackground = 0x0001,
  kTagWindowText = 0x0002,
  kTagCaptionActive = 0x0003,
  kTagCaptionTextActive = 0x0004,
  kTagCaptionInactive = 0x0005,
  kTagCaptionTextInactive = 0x0006,
  kTagFrameLine = 0x0007,
  kTagCaptionButtonHot = 0x0008,
  kTagCloseButtonHot = 0x0009,
  kTagButtonFace = 0x000A,
  kTagButtonFaceHot = 0x000B,
  kTagButtonFacePressed = 0x000C,
  kTagButtonFaceDisabled = 0x000D,
  kTagButtonBorder = 0x000E,
  kTagButtonBorderDefault = 0x000F,
  kTagButtonText = 0x0010,
  kTagButtonTextDisabled = 0x0011,
  kTagFrameLineWidth = 0x0101,
  kTagButtonCornerRadius = 0x0102,
  kTagButtonBorderWidth = 0x0103,
};

// Reads a whole skin file held in memory. On success replaces look with the
// file's look (what the file leaves out takes SkinLook's defaults) and
// returns Ok; on any failure returns why and leaves look untouched.
SkinFileStatus ParseSkinFile(const uint8_t* bytes, size_t size, SkinLook& look);

}  // namespace skin
