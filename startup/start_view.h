// What the start sequence and the update check show and read: the message
// box, the splash window and its labels, the browser.
#pragma once

#include "app/byte_block.h"
#include "app/text.h"

namespace jc {

class StartView {
 public:
  virtual ~StartView() = default;
  // The program's task-modal message box; waits until it is closed.
  virtual void ShowMessage(const Text& text) = 0;
  virtual void ShowSplash() = 0;
  // The splash window's status line; writing it when the window is gone is fatal.
  virtual Text StatusCaption() = 0;
  virtual void SetStatusCaption(const Text& text) = 0;
  // The splash window's hidden version label.
  virtual Text VersionCaption() = 0;
  // Hands a web address to the system's browser.
  virtual void OpenUrl(const Text& url) = 0;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // The body of a GET, or what arrived of it before a failure; often empty.
  virtual ByteBlock Get(const Text& url) = 0;
};

}  // namespace jc
