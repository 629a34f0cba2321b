#include "app/splash_window_definition.h"

namespace jc {

namespace {

const char kPicture[] = "图片框1";

ControlDefinition VersionLabel() {
  ControlDefinition version = MakeControl("标签1", ControlKind::Label, 624, 384, 24, 40, "2.0");
  version.parentName = kPicture;
  version.visible = false;
  return version;
}

ControlDefinition Tagline() {
  ControlDefinition tagline =
      MakeControl("透明标签2", ControlKind::TransparentLabel, 0, 400, 224, 24, "Varnel为您打造系统垃圾一键清理");
  tagline.parentName = kPicture;
  tagline.label.textColour = Colour{255, 0, 255};
  return tagline;
}

ControlDefinition StatusLine() {
  ControlDefinition status = MakeControl("透明标签1", ControlKind::TransparentLabel, 16, 280, 632, 48, "链接服务器···");
  status.parentName = kPicture;
  status.label.textColour = Colour{255, 0, 0};
  status.label.wordWrap = true;
  status.label.fontName = "宋体";
  status.label.fontHeight = -29;
  status.label.fontWeight = 700;
  return status;
}

ControlDefinition Picture() {
  ControlDefinition picture = MakeControl(kPicture, ControlKind::PictureBox, 0, 0, 648, 424, "");
  picture.pictureResource = kSplashPictureResource;
  return picture;
}

}  // namespace

WindowDefinition SplashWindowDefinition(Handler created) {
  WindowDefinition window{};
  window.id = WindowId::Splash;
  window.title = "";
  window.width = 644;
  window.height = 424;
  window.frame = FrameKind::None;
  window.systemMenu = false;
  window.minimizeButton = false;
  window.maximizeButton = false;
  window.centred = true;
  window.taskbarButton = true;
  window.escCloses = true;
  window.visible = true;
  window.created = created;
  window.controls = {VersionLabel(), Tagline(), StatusLine(), Picture()};
  return window;
}

}  // namespace jc
