#include "startup/update_check.h"

#include "startup/text_rules.h"

namespace jc {

Text UpdatePageUrl() {
  return TextConcat({"http://", JC_UPDATE_HOST, "/blog/static/223821106201362955440953/"});
}

Text DownloadPageUrl() {
  return TextConcat({"http://", JC_DOWNLOAD_HOST, "/share/link?shareid=", JC_DOWNLOAD_SHAREID, "&uk=", JC_DOWNLOAD_UK});
}

Text PublishedVersionText(const ByteBlock& body) {
  return TextBetween(BytesToText(body), "版本头{", "}版本尾");
}

bool SameVersion(const Text& published, const Text& local) {
  return TextToNumber(published) == TextToNumber(local);
}

void UpdateCheck(UpdateJob& job) {
  const Text published = PublishedVersionText(job.http.Get(UpdatePageUrl()));
  if (SameVersion(published, job.view.VersionCaption())) return;
  job.view.ShowMessage("请更新软件！");
  job.view.OpenUrl(DownloadPageUrl());
  job.app.ExitProgram(0);
}

}  // namespace jc
