#include "skin/skin_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& bytes, uint32_t value) {
  bytes.push_back(static_cast<uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void PutU32(Bytes& bytes, uint32_t value) {
  PutU16(bytes, value & 0xFFFF);
  PutU16(bytes, value >> 16);
}

Bytes Record(uint16_t tag, const Bytes& payload) {
  Bytes record;
  PutU16(record, tag);
  PutU16(record, static_cast<uint32_t>(payload.size()));
  record.insert(record.end(), payload.begin(), payload.end());
  return record;
}

Bytes Colour(uint16_t tag, uint8_t red, uint8_t green, uint8_t blue) { return Record(tag, {red, green, blue}); }

Bytes Size(uint16_t tag, uint32_t value) {
  Bytes payload;
  PutU16(payload, value);
  return Record(tag, payload);
}

// A file written by hand, field by field, so that each header field can be
// made wrong on its own.
const uint8_t kMagic[] = {0x2E, 0x53, 0x48, 0x45, 0x00};

struct FileParts {
  Bytes magic = Bytes(std::begin(kMagic), std::end(kMagic));
  uint8_t version = 1;
  std::vector<Bytes> records;
  int countAdjust = 0;       // added to the true record count
  int64_t bodyAdjust = 0;    // added to the true body length
  Bytes trailing;            // bytes after the records, counted in the body
};

Bytes Build(const FileParts& parts) {
  Bytes body;
  for (const Bytes& record : parts.records) body.insert(body.end(), record.begin(), record.end());
  body.insert(body.end(), parts.trailing.begin(), parts.trailing.end());
  Bytes file = parts.magic;
  file.push_back(parts.version);
  PutU16(file, static_cast<uint32_t>(static_cast<int>(parts.records.size()) + parts.countAdjust));
  PutU32(file, static_cast<uint32_t>(static_cast<int64_t>(body.size()) + parts.bodyAdjust));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

Bytes GoodFile() {
  FileParts parts;
  parts.records = {Colour(kTagCaptionActive, 1, 2, 3), Colour(kTagButtonFace, 250, 251, 252),
                   Size(kTagButtonCornerRadius, 6)};
  return Build(parts);
}

std::vector<Rgb> ColoursOf(const SkinLook& look) {
  return {look.windowBackground,  look.windowText,          look.captionActive,      look.captionTextActive,
          look.captionInactive,   look.captionTextInactive, look.frameLine,          look.captionButtonHot,
          look.closeButtonHot,    look.buttonFace,          look.buttonFaceHot,      look.buttonFacePressed,
          look.buttonFaceDisabled, look.buttonBorder,       look.buttonBorderDefault, look.buttonText,
          look.buttonTextDisabled};
}

std::vector<uint16_t> SizesOf(const SkinLook& look) {
  return {look.frameLineWidth, look.buttonCornerRadius, look.buttonBorderWidth};
}

bool SameLook(const SkinLook& a, const SkinLook& b) { return ColoursOf(a) == ColoursOf(b) && SizesOf(a) == SizesOf(b); }

SkinFileStatus Parse(const Bytes& bytes, SkinLook& look) { return ParseSkinFile(bytes.data(), bytes.size(), look); }

// A look unlike the defaults, to see that a failed read leaves it alone.
SkinLook MarkedLook() {
  SkinLook look;
  look.windowBackground = Rgb{9, 9, 9};
  look.buttonCornerRadius = 11;
  return look;
}

TEST(SkinFile, BadFilesAreRefusedAndLeaveTheLookAlone) {
  struct Case {
    const char* what;
    Bytes bytes;
    SkinFileStatus expected;
  };
  const Bytes good = GoodFile();

  FileParts wrongMagic;
  wrongMagic.magic = {0x2E, 0x53, 0x48, 0x46, 0x00};
  FileParts magicWithoutZero;
  magicWithoutZero.magic = {0x2E, 0x53, 0x48, 0x45, 0x31};
  FileParts versionZero;
  versionZero.version = 0;
  FileParts versionTwo;
  versionTwo.version = 2;
  FileParts bodyLonger;
  bodyLonger.records = {Colour(kTagWindowBackground, 1, 1, 1)};
  bodyLonger.bodyAdjust = 1;
  FileParts bodyShorter = bodyLonger;
  bodyShorter.bodyAdjust = -1;
  FileParts bodyHuge;
  bodyHuge.bodyAdjust = 0xFFFFFFFFLL;
  FileParts countWithoutRecords;
  countWithoutRecords.countAdjust = 1;
  FileParts halfRecordHeader;
  halfRecordHeader.countAdjust = 1;
  halfRecordHeader.trailing = {0x01, 0x00};
  FileParts payloadPastEnd;
  payloadPastEnd.records = {Bytes{0x01, 0x00, 0xFF, 0xFF, 1, 2, 3}};
  FileParts hugeCount;
  hugeCount.records = {Colour(kTagWindowBackground, 1, 1, 1)};
  hugeCount.countAdjust = 0xFFFF - 1;
  FileParts countTooSmall;
  countTooSmall.records = {Colour(kTagWindowBackground, 1, 1, 1), Colour(kTagWindowText, 2, 2, 2)};
  countTooSmall.countAdjust = -1;
  FileParts trailingByte;
  trailingByte.records = {Colour(kTagWindowBackground, 1, 1, 1)};
  trailingByte.trailing = {0x00};
  FileParts shortColour;
  shortColour.records = {Record(kTagCaptionActive, {1, 2})};
  FileParts longColour;
  longColour.records = {Record(kTagCaptionActive, {1, 2, 3, 4})};
  FileParts shortSize;
  shortSize.records = {Record(kTagButtonCornerRadius, {4})};
  FileParts longSize;
  longSize.records = {Record(kTagFrameLineWidth, {1, 0, 0})};
  FileParts radiusTooLarge;
  radiusTooLarge.records = {Size(kTagButtonCornerRadius, 17)};
  FileParts frameLineTooWide;
  frameLineTooWide.records = {Size(kTagFrameLineWidth, 9)};
  FileParts borderTooWide;
  borderTooWide.records = {Size(kTagButtonBorderWidth, 0xFFFF)};
  FileParts duplicateColour;
  duplicateColour.records = {Colour(kTagButtonText, 1, 1, 1), Colour(kTagButtonFace, 2, 2, 2),
                             Colour(kTagButtonText, 3, 3, 3)};
  FileParts duplicateSize;
  duplicateSize.records = {Size(kTagButtonBorderWidth, 1), Size(kTagButtonBorderWidth, 1)};
  FileParts tooLarge;
  tooLarge.trailing = Bytes(kMaxSkinFileSize, 0);

  const Case cases[] = {
      {"empty", {}, SkinFileStatus::TooShort},
      {"the five magic bytes only", {0x2E, 0x53, 0x48, 0x45, 0x00}, SkinFileStatus::TooShort},
      {"header cut by one byte", Bytes(good.begin(), good.begin() + kSkinHeaderSize - 1), SkinFileStatus::TooShort},
      {"wrong magic", Build(wrongMagic), SkinFileStatus::BadMagic},
      {"magic without its zero byte", Build(magicWithoutZero), SkinFileStatus::BadMagic},
      {"text file", Bytes(40, 'a'), SkinFileStatus::BadMagic},
      {"version 0", Build(versionZero), SkinFileStatus::UnknownVersion},
      {"version 2", Build(versionTwo), SkinFileStatus::UnknownVersion},
      {"body length one more than the file", Build(bodyLonger), SkinFileStatus::BodyLengthWrong},
      {"body length one less than the file", Build(bodyShorter), SkinFileStatus::BodyLengthWrong},
      {"body length near 4 GiB", Build(bodyHuge), SkinFileStatus::BodyLengthWrong},
      {"good file truncated in its last record", Bytes(good.begin(), good.end() - 1),
       SkinFileStatus::BodyLengthWrong},
      {"one record counted, none there", Build(countWithoutRecords), SkinFileStatus::RecordTruncated},
      {"record header cut in half", Build(halfRecordHeader), SkinFileStatus::RecordTruncated},
      {"payload length past the end", Build(payloadPastEnd), SkinFileStatus::RecordTruncated},
      {"record count 65535", Build(hugeCount), SkinFileStatus::RecordTruncated},
      {"fewer records counted than present", Build(countTooSmall), SkinFileStatus::RecordCountWrong},
      {"a byte after the last record", Build(trailingByte), SkinFileStatus::RecordCountWrong},
      {"colour of two bytes", Build(shortColour), SkinFileStatus::BadRecordLength},
      {"colour of four bytes", Build(longColour), SkinFileStatus::BadRecordLength},
      {"size of one byte", Build(shortSize), SkinFileStatus::BadRecordLength},
      {"size of three bytes", Build(longSize), SkinFileStatus::BadRecordLength},
      {"corner radius 17", Build(radiusTooLarge), SkinFileStatus::ValueOutOfRange},
      {"frame line 9 wide", Build(frameLineTooWide), SkinFileStatus::ValueOutOfRange},
      {"button border 65535 wide", Build(borderTooWide), SkinFileStatus::ValueOutOfRange},
      {"a colour given twice", Build(duplicateColour), SkinFileStatus::DuplicateRecord},
      {"a size given twice", Build(duplicateSize), SkinFileStatus::DuplicateRecord},
      {"larger than 64 KiB", Build(tooLarge), SkinFileStatus::TooLarge},
  };
  for (const Case& c : cases) {
    SkinLook look = MarkedLook();
    EXPECT_EQ(SkinFileStatusName(Parse(c.bytes, look)), std::string(SkinFileStatusName(c.expected))) << c.what;
    EXPECT_TRUE(SameLook(look, MarkedLook())) << c.what;
  }
}

TEST(SkinFile, NullBytesAreRefused) {
  SkinLook look = MarkedLook();
  EXPECT_EQ(ParseSkinFile(nullptr, 0, look), SkinFileStatus::TooShort);
  EXPECT_EQ(ParseSkinFile(nullptr, 100, look), SkinFileStatus::TooShort);
  EXPECT_TRUE(SameLook(look, MarkedLook()));
}

TEST(SkinFile, GoodFileSetsItsRecordsAndDefaultsTheRest) {
  SkinLook look = MarkedLook();
  ASSERT_EQ(Parse(GoodFile(), look), SkinFileStatus::Ok);
  SkinLook expected;
  expected.captionActive = Rgb{1, 2, 3};
  expected.buttonFace = Rgb{250, 251, 252};
  expected.buttonCornerRadius = 6;
  EXPECT_TRUE(SameLook(look, expected));
}

TEST(SkinFile, HeaderWithoutRecordsGivesTheDefaults) {
  SkinLook look = MarkedLook();
  ASSERT_EQ(Parse(Build(FileParts{}), look), SkinFileStatus::Ok);
  EXPECT_TRUE(SameLook(look, SkinLook{}));
}

TEST(SkinFile, EveryRecordReachesItsOwnField) {
  struct Case {
    uint16_t tag;
    Rgb SkinLook::*field;
  };
  const Case colours[] = {
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
  for (const Case& c : colours) {
    FileParts parts;
    parts.records = {Colour(c.tag, 0x12, 0x34, 0x56)};
    SkinLook look;
    ASSERT_EQ(Parse(Build(parts), look), SkinFileStatus::Ok) << c.tag;
    SkinLook expected;
    expected.*c.field = Rgb{0x12, 0x34, 0x56};
    EXPECT_TRUE(SameLook(look, expected)) << "tag " << c.tag;
  }

  struct SizeCase {
    uint16_t tag;
    uint16_t SkinLook::*field;
    uint16_t largest;
  };
  const SizeCase sizes[] = {
      {kTagFrameLineWidth, &SkinLook::frameLineWidth, 8},
      {kTagButtonCornerRadius, &SkinLook::buttonCornerRadius, 16},
      {kTagButtonBorderWidth, &SkinLook::buttonBorderWidth, 4},
  };
  for (const SizeCase& c : sizes) {
    for (uint16_t value : {uint16_t{0}, c.largest}) {
      FileParts parts;
      parts.records = {Size(c.tag, value)};
      SkinLook look;
      ASSERT_EQ(Parse(Build(parts), look), SkinFileStatus::Ok) << c.tag << " " << value;
      SkinLook expected;
      expected.*c.field = value;
      EXPECT_TRUE(SameLook(look, expected)) << "tag " << c.tag << " value " << value;
    }
  }
}

TEST(SkinFile, SizesAreLittleEndian) {
  FileParts parts;
  parts.records = {Record(kTagButtonCornerRadius, {0x0C, 0x00})};
  SkinLook look;
  ASSERT_EQ(Parse(Build(parts), look), SkinFileStatus::Ok);
  EXPECT_EQ(look.buttonCornerRadius, 12);

  parts.records = {Record(kTagButtonCornerRadius, {0x00, 0x0C})};
  EXPECT_EQ(Parse(Build(parts), look), SkinFileStatus::ValueOutOfRange);
}

// Later skins may carry records this engine does not know; those are passed
// over, even when repeated, as long as their lengths hold.
TEST(SkinFile, UnknownRecordsArePassedOver) {
  FileParts parts;
  parts.records = {Record(0x0400, {1, 2, 3, 4, 5}), Colour(kTagButtonText, 7, 8, 9), Record(0x0400, {}),
                   Record(0x01FF, {1})};
  SkinLook look;
  ASSERT_EQ(Parse(Build(parts), look), SkinFileStatus::Ok);
  SkinLook expected;
  expected.buttonText = Rgb{7, 8, 9};
  EXPECT_TRUE(SameLook(look, expected));
}

TEST(SkinFile, EveryTruncationOfAGoodFileIsRefused) {
  const Bytes good = GoodFile();
  for (size_t length = 0; length < good.size(); ++length) {
    // A copy of exactly this length, so that a read past it is caught by the
    // address sanitizer.
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    SkinLook look;
    EXPECT_NE(Parse(cut, look), SkinFileStatus::Ok) << "length " << length;
  }
}

TEST(SkinFile, NoSingleByteChangeCrashes) {
  const Bytes good = GoodFile();
  for (size_t at = 0; at < good.size(); ++at) {
    for (int value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      Bytes changed = good;
      changed[at] = static_cast<uint8_t>(value);
      SkinLook look;
      const SkinFileStatus status = Parse(changed, look);
      // A change in the header always breaks the file; one in a record may
      // still leave a readable skin.
      if (at < kSkinHeaderSize && changed[at] != good[at]) {
        EXPECT_NE(status, SkinFileStatus::Ok) << "byte " << at << " = " << value;
      }
    }
  }
}

// The skin the program ships, written by make_skin.py from skin/1.skin.
TEST(SkinFile, ShippedSkinIsReadable) {
  const std::string here = __FILE__;
  const std::string root = here.substr(0, here.rfind("tests/unit/"));
  std::ifstream file(root + "skin/1.she", std::ios::binary);
  ASSERT_TRUE(file) << root + "skin/1.she";
  const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  SkinLook look;
  ASSERT_EQ(Parse(bytes, look), SkinFileStatus::Ok);
  EXPECT_EQ(look.windowBackground, (Rgb{0xF4, 0xF6, 0xF9}));
  EXPECT_EQ(look.captionActive, (Rgb{0x2B, 0x6C, 0xC4}));
  EXPECT_EQ(look.buttonFace, (Rgb{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(look.buttonCornerRadius, 4);
  EXPECT_EQ(look.buttonBorderWidth, 1);
}

}  // namespace
}  // namespace skin
