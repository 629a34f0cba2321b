#include "skin/skin_file.h"

#include <cstring>

namespace skin {

namespace {

struct ColourRecord {
  uint16_t tag;
  Rgb SkinLook::*field;
};

const ColourRecord kColourRecords[] = {
    {kTagWindowBackground, &SkinLook::windowBackground},
    {kTagWindowText, &SkinLook::windowText},
    {kTagCaptionActive, &SkinLook::captionActive},
    {kTagCaptionTextActive, &SkinLook::captionTextActive},
    {kTagCaptionInactive, &SkinLook::captionInactive},
    {kTagCaptionTextInactive, &SkinLook::captionTextInactive},
    {kTagFrameLine, &SkinLook::frameLine},
    {kTagCaptionButtonHot, &SkinLook::captionButtonHot},
    {kTagCloseButtonHot, &SkinLook::closeButtonHot},
    {kTagButtonFace, &SkinLook::buttonFace},
    {kTagButtonFaceHot, &SkinLook::buttonFaceHot},
    {kTagButtonFacePressed, &SkinLook::buttonFacePressed},
    {kTagButtonFaceDisabled, &SkinLook::buttonFaceDisabled},
    {kTagButtonBorder, &SkinLook::buttonBorder},
    {kTagButtonBorderDefault, &SkinLook::buttonBorderDefault},
    {kTagButtonText, &SkinLook::buttonText},
    {kTagButtonTextDisabled, &SkinLook::buttonTextDisabled},
};

// Sizes are bounded so that a skin can never make the painting code draw
// outside a control or loop for long.
struct SizeRecord {
  uint16_t tag;
  uint16_t SkinLook::*field;
  uint16_t maximum;
};

const SizeRecord kSizeRecords[] = {
    {kTagFrameLineWidth, &SkinLook::frameLineWidth, 8},
    {kTagButtonCornerRadius, &SkinLook::buttonCornerRadius, 16},
    {kTagButtonBorderWidth, &SkinLook::buttonBorderWidth, 4},
};

constexpr size_t kColourPayloadSize = 3;
constexpr size_t kSizePayloadSize = 2;
// Tags 0x0000-0x01FF are this version's; a duplicate among them is an error.
constexpr uint16_t kKnownTagLimit = 0x0200;

uint16_t ReadU16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

uint32_t ReadU32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) | (static_cast<uint32_t>(at[2]) << 16) |
         (static_cast<uint32_t>(at[3]) << 24);
}

// One record's tag and payload, already known to lie inside the file.
struct Record {
  uint16_t tag;
  const uint8_t* payload;
  size_t length;
};

SkinFileStatus ApplyRecord(const Record& record, SkinLook& look) {
  for (const ColourRecord& colour : kColourRecords) {
    if (colour.tag != record.tag) continue;
    if (record.length != kColourPayloadSize) return SkinFileStatus::BadRecordLength;
    look.*colour.field = Rgb{record.payload[0], record.payload[1], record.payload[2]};
    return SkinFileStatus::Ok;
  }
  for (const SizeRecord& size : kSizeRecords) {
    if (size.tag != record.tag) continue;
    if (record.length != kSizePayloadSize) return SkinFileStatus::BadRecordLength;
    const uint16_t value = ReadU16(record.payload);
    if (value > size.maximum) return SkinFileStatus::ValueOutOfRange;
    look.*size.field = value;
    return SkinFileStatus::Ok;
  }
  // A tag this reader does not know is passed over, so later skins may add
  // records that older engines ignore.
  return SkinFileStatus::Ok;
}

SkinFileStatus CheckHeader(const uint8_t* bytes, size_t size) {
  if (size < kSkinHeaderSize) return SkinFileStatus::TooShort;
  if (size > kMaxSkinFileSize) return SkinFileStatus::TooLarge;
  if (std::memcmp(bytes, kSkinMagic, sizeof(kSkinMagic)) != 0) return SkinFileStatus::BadMagic;
  if (bytes[5] != kSkinVersion) return SkinFileStatus::UnknownVersion;
  if (ReadU32(bytes + 8) != size - kSkinHeaderSize) return SkinFileStatus::BodyLengthWrong;
  return SkinFileStatus::Ok;
}

SkinFileStatus ReadRecords(const uint8_t* bytes, size_t size, SkinLook& look) {
  const uint16_t count = ReadU16(bytes + 6);
  bool seen[kKnownTagLimit] = {};
  size_t offset = kSkinHeaderSize;
  for (uint16_t index = 0; index < count; ++index) {
    if (size - offset < kRecordHeaderSize) return SkinFileStatus::RecordTruncated;
    const Record record{ReadU16(bytes + offset), bytes + offset + kRecordHeaderSize, ReadU16(bytes + offset + 2)};
    offset += kRecordHeaderSize;
    if (size - offset < record.length) return SkinFileStatus::RecordTruncated;
    offset += record.length;
    if (record.tag < kKnownTagLimit) {
      if (seen[record.tag]) return SkinFileStatus::DuplicateRecord;
      seen[record.tag] = true;
    }
    const SkinFileStatus applied = ApplyRecord(record, look);
    if (applied != SkinFileStatus::Ok) return applied;
  }
  if (offset != size) return SkinFileStatus::RecordCountWrong;
  return SkinFileStatus::Ok;
}

}  // namespace

const char* SkinFileStatusName(SkinFileStatus status) {
  switch (status) {
    case SkinFileStatus::Ok:
      return "ok";
    case SkinFileStatus::TooShort:
      return "too short";
    case SkinFileStatus::TooLarge:
      return "too large";
    case SkinFileStatus::BadMagic:
      return "bad magic";
    case SkinFileStatus::UnknownVersion:
      return "unknown version";
    case SkinFileStatus::BodyLengthWrong:
      return "body length wrong";
    case SkinFileStatus::RecordTruncated:
      return "record truncated";
    case SkinFileStatus::RecordCountWrong:
      return "record count wrong";
    case SkinFileStatus::BadRecordLength:
      return "bad record length";
    case SkinFileStatus::ValueOutOfRange:
      return "value out of range";
    case SkinFileStatus::DuplicateRecord:
      return "duplicate record";
  }
  return "unknown status";
}

SkinFileStatus ParseSkinFile(const uint8_t* bytes, size_t size, SkinLook& look) {
  if (!bytes) return SkinFileStatus::TooShort;
  const SkinFileStatus header = CheckHeader(bytes, size);
  if (header != SkinFileStatus::Ok) return header;
  SkinLook read;
  const SkinFileStatus records = ReadRecords(bytes, size, read);
  if (records != SkinFileStatus::Ok) return records;
  look = read;
  return SkinFileStatus::Ok;
}

}  // namespace skin
