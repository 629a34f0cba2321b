#include "platform/win32/win32_http.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <vector>

namespace jc {

namespace {

const char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
const char kAcceptHeader[] = "Accept: */*\r\n\r\n";  // 15 bytes
// A broken or hostile server could send a body without end; what arrived
// up to this size is used.
const size_t kMaxBody = 16u * 1024u * 1024u;

struct UrlParts {
  char host[256] = {};
  char user[128] = {};
  char password[128] = {};
  char path[2048] = {};
  char extra[2048] = {};
  INTERNET_PORT port = 0;
  INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
};

bool CrackUrl(const Text& url, UrlParts& parts) {
  std::vector<char> canonical(url.size() * 3 + 16);
  DWORD length = static_cast<DWORD>(canonical.size());
  if (!InternetCanonicalizeUrlA(url.c_str(), canonical.data(), &length, ICU_NO_ENCODE)) return false;
  URL_COMPONENTSA components{};
  components.dwStructSize = sizeof(components);
  components.lpszHostName = parts.host;
  components.dwHostNameLength = sizeof(parts.host);
  components.lpszUserName = parts.user;
  components.dwUserNameLength = sizeof(parts.user);
  components.lpszPassword = parts.password;
  components.dwPasswordLength = sizeof(parts.password);
  components.lpszUrlPath = parts.path;
  components.dwUrlPathLength = sizeof(parts.path);
  components.lpszExtraInfo = parts.extra;
  components.dwExtraInfoLength = sizeof(parts.extra);
  if (!InternetCrackUrlA(canonical.data(), 0, 0, &components)) return false;
  parts.port = components.nPort;
  parts.scheme = components.nScheme;
  return true;
}

// The path with its query, cut before the fragment.
Text RequestTarget(const UrlParts& parts) {
  Text target = Text(parts.path) + parts.extra;
  const size_t fragment = target.find('#');
  if (fragment != Text::npos) target.erase(fragment);
  return target;
}

DWORD ReadSize(HINTERNET request) {
  char buffer[32] = {};
  DWORD length = sizeof(buffer);
  if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, buffer, &length, nullptr)) {
    const long long declared = std::atoll(buffer);
    if (declared > 0) return declared + 1 > 102400 ? 102400 : static_cast<DWORD>(declared + 1);
  }
  return 10240;
}

ByteBlock ReadBody(HINTERNET request) {
  ByteBlock body;
  std::vector<uint8_t> buffer(ReadSize(request));
  for (;;) {
    const size_t room = kMaxBody - body.size();
    const DWORD wanted = static_cast<DWORD>(room < buffer.size() ? room : buffer.size());
    DWORD read = 0;
    if (wanted == 0 || !InternetReadFile(request, buffer.data(), wanted, &read) || read == 0) break;
    body.insert(body.end(), buffer.begin(), buffer.begin() + read);
  }
  return body;
}

}  // namespace

WinInetClient::~WinInetClient() {
  if (session_) InternetCloseHandle(session_);
}

ByteBlock WinInetClient::Get(const Text& url) {
  if (url.empty()) return ByteBlock();
  UrlParts parts;
  if (!CrackUrl(url, parts)) return ByteBlock();
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
  if (parts.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;

  // The system's proxy settings apply to the session from the start.
  if (!session_) session_ = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session_) return ByteBlock();
  HINTERNET connection = InternetConnectA(session_, parts.host, parts.port, parts.user, parts.password,
                                          INTERNET_SERVICE_HTTP, 0, 0);
  if (!connection) return ByteBlock();
  InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME, const_cast<char*>(""), 0);
  InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD, const_cast<char*>(""), 0);

  const char* acceptTypes[] = {"Accept: */* \r\n", nullptr};
  const Text target = RequestTarget(parts);
  HINTERNET request =
      HttpOpenRequestA(connection, "GET", target.c_str(), "HTTP/1.0", nullptr, acceptTypes, flags, 0);
  if (!request) {
    InternetCloseHandle(connection);
    return ByteBlock();
  }
  ByteBlock body;
  if (HttpSendRequestA(request, kAcceptHeader, sizeof(kAcceptHeader) - 1, nullptr, 0)) body = ReadBody(request);
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  return body;
}

}  // namespace jc
