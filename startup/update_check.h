// Once per start: the version published on the update page must equal the
// program's own, or the user is sent to the download page and the program ends.
#pragma once

#include "app/application.h"
#include "startup/start_view.h"

namespace jc {

// The addresses are fixed when the program is built.
Text UpdatePageUrl();
Text DownloadPageUrl();

// The text between "版本头{" and "}版本尾" of the page, up to its first zero byte.
Text PublishedVersionText(const ByteBlock& body);
// Equal as single-precision numbers.
bool SameVersion(const Text& published, const Text& local);

struct UpdateJob {
  Application& app;
  HttpClient& http;
  StartView& view;
};

// Returns only when the versions are the same.
void UpdateCheck(UpdateJob& job);

}  // namespace jc
