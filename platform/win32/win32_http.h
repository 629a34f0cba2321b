// One blocking GET over WinInet.
#pragma once

#include "startup/start_view.h"

namespace jc {

class WinInetClient : public HttpClient {
 public:
  ~WinInetClient() override;
  ByteBlock Get(const Text& url) override;

 private:
  void* session_ = nullptr;  // opened on first use, kept until the program ends
};

}  // namespace jc
