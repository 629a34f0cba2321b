// jcdriver: drives and inspects the windows of another process for the
// black-box tests. Every command prints one UTF-8 JSON value on stdout and
// exits 0 on success, 1 when a wait timed out or a window is gone, 2 on a
// usage error and 3 when the system refused an operation.
//
// The tests run it under Wine in the same prefix as the program, so it sees
// the same window station. Everything that crosses into the other process
// goes through SendMessageTimeout, so a hung or busy target never hangs the
// driver.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const UINT kMsgTimeoutMs = 3000;
const DWORD kDefaultWaitMs = 10000;
const DWORD kPollMs = 50;
const int kDefaultMaxRows = 2000;
const size_t kCellChars = 2048;

enum ExitCode { kOk = 0, kTimedOut = 1, kUsage = 2, kFailed = 3 };

// ---------------------------------------------------------------- JSON

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

// A streaming writer: callers open and close containers, the writer places
// the commas, so output is always well-formed as long as opens match closes.
class Json {
public:
    Json& BeginObject() { Sep(); out_ += '{'; first_.push_back(true); return *this; }
    Json& EndObject() { out_ += '}'; first_.pop_back(); return *this; }
    Json& BeginArray() { Sep(); out_ += '['; first_.push_back(true); return *this; }
    Json& EndArray() { out_ += ']'; first_.pop_back(); return *this; }
    Json& Key(const char* k) {
        Sep();
        Quote(k);
        out_ += ':';
        after_key_ = true;
        return *this;
    }
    Json& Str(const std::wstring& w) { Sep(); Quote(Utf8(w)); return *this; }
    Json& StrA(const std::string& s) { Sep(); Quote(s); return *this; }
    Json& Int(long long v) { Sep(); out_ += std::to_string(v); return *this; }
    Json& UInt(unsigned long long v) { Sep(); out_ += std::to_string(v); return *this; }
    Json& Bool(bool b) { Sep(); out_ += b ? "true" : "false"; return *this; }
    Json& Null() { Sep(); out_ += "null"; return *this; }

    // Shorthands for "key": value.
    Json& KStr(const char* k, const std::wstring& v) { return Key(k).Str(v); }
    Json& KStrA(const char* k, const std::string& v) { return Key(k).StrA(v); }
    Json& KInt(const char* k, long long v) { return Key(k).Int(v); }
    Json& KUInt(const char* k, unsigned long long v) { return Key(k).UInt(v); }
    Json& KBool(const char* k, bool v) { return Key(k).Bool(v); }

    const std::string& Text() const { return out_; }

private:
    void Sep() {
        if (after_key_) { after_key_ = false; return; }
        if (!first_.empty()) {
            if (!first_.back()) out_ += ',';
            first_.back() = false;
        }
    }
    void Quote(const std::string& s) {
        out_ += '"';
        for (unsigned char c : s) {
            switch (c) {
            case '"': out_ += "\\\""; break;
            case '\\': out_ += "\\\\"; break;
            case '\n': out_ += "\\n"; break;
            case '\r': out_ += "\\r"; break;
            case '\t': out_ += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out_ += buf;
                } else {
                    out_ += (char)c;
                }
            }
        }
        out_ += '"';
    }

    std::string out_;
    std::vector<bool> first_;
    bool after_key_ = false;
};

// Raw bytes to the standard output handle: the callers redirect it to a file,
// and the C runtime's text mode would otherwise mangle line ends and UTF-8.
void Emit(const Json& j) {
    std::string s = j.Text();
    s += '\n';
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    size_t pos = 0;
    while (pos < s.size()) {
        if (!WriteFile(out, s.data() + pos, (DWORD)(s.size() - pos), &written, nullptr) || written == 0) break;
        pos += written;
    }
}

int Fail(int code, const std::wstring& message) {
    Json j;
    j.BeginObject().KStr("error", message).KInt("code", code).EndObject();
    Emit(j);
    return code;
}

// ---------------------------------------------------------------- arguments

bool ParseInt(const std::wstring& s, long long* v) {
    if (s.empty()) return false;
    const wchar_t* p = s.c_str();
    bool neg = false;
    if (*p == L'-') { neg = true; ++p; }
    int base = 10;
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) { base = 16; p += 2; }
    if (!*p) return false;
    wchar_t* end = nullptr;
    unsigned long long u = wcstoull(p, &end, base);
    if (*end) return false;
    *v = neg ? -(long long)u : (long long)u;
    return true;
}

HWND ParseHwnd(const std::wstring& s) {
    long long v = 0;
    if (!ParseInt(s, &v)) return nullptr;
    return (HWND)(uintptr_t)v;
}

unsigned long long HwndNum(HWND h) { return (unsigned long long)(uintptr_t)h; }

// Options are "--name value" pairs after the positional arguments.
struct Args {
    std::vector<std::wstring> pos;
    std::vector<std::pair<std::wstring, std::wstring>> opt;

    const std::wstring* Opt(const wchar_t* name) const {
        for (auto& o : opt)
            if (o.first == name) return &o.second;
        return nullptr;
    }
    bool OptInt(const wchar_t* name, long long* v, bool* bad) const {
        const std::wstring* s = Opt(name);
        if (!s) return false;
        if (!ParseInt(*s, v)) *bad = true;
        return true;
    }
};

bool SplitArgs(int argc, wchar_t** argv, int first, Args* a) {
    for (int i = first; i < argc; ++i) {
        std::wstring s = argv[i];
        if (s.size() > 2 && s[0] == L'-' && s[1] == L'-') {
            if (i + 1 >= argc) return false;
            a->opt.emplace_back(s.substr(2), argv[++i]);
        } else {
            a->pos.push_back(s);
        }
    }
    return true;
}

// Symbolic names for the messages the tests send most, so a test reads
// "PBM_SETPOS" rather than a number.
struct NamedMsg { const wchar_t* name; UINT msg; };
const NamedMsg kMessages[] = {
    {L"WM_CLOSE", WM_CLOSE},         {L"WM_COMMAND", WM_COMMAND},
    {L"WM_KEYDOWN", WM_KEYDOWN},     {L"WM_KEYUP", WM_KEYUP},
    {L"WM_CHAR", WM_CHAR},           {L"WM_GETTEXTLENGTH", WM_GETTEXTLENGTH},
    {L"WM_ENABLE", WM_ENABLE},       {L"WM_SYSCOMMAND", WM_SYSCOMMAND},
    {L"WM_LBUTTONDOWN", WM_LBUTTONDOWN}, {L"WM_LBUTTONUP", WM_LBUTTONUP},
    {L"BM_CLICK", BM_CLICK},         {L"BM_GETSTATE", BM_GETSTATE},
    {L"PBM_SETRANGE", PBM_SETRANGE}, {L"PBM_SETPOS", PBM_SETPOS},
    {L"PBM_DELTAPOS", PBM_DELTAPOS}, {L"PBM_SETSTEP", PBM_SETSTEP},
    {L"PBM_STEPIT", PBM_STEPIT},     {L"PBM_SETRANGE32", PBM_SETRANGE32},
    {L"PBM_GETRANGE", PBM_GETRANGE}, {L"PBM_GETPOS", PBM_GETPOS},
    {L"LVM_GETITEMCOUNT", LVM_GETITEMCOUNT},
    {L"LVM_GETSELECTEDCOUNT", LVM_GETSELECTEDCOUNT},
    {L"LVM_GETEXTENDEDLISTVIEWSTYLE", LVM_GETEXTENDEDLISTVIEWSTYLE},
};

bool ParseMsg(const std::wstring& s, UINT* msg) {
    for (auto& m : kMessages)
        if (_wcsicmp(m.name, s.c_str()) == 0) { *msg = m.msg; return true; }
    long long v = 0;
    if (!ParseInt(s, &v)) return false;
    *msg = (UINT)v;
    return true;
}

// ---------------------------------------------------------------- windows

std::wstring ClassOf(HWND h) {
    wchar_t buf[256] = {0};
    GetClassNameW(h, buf, 256);
    return buf;
}

// The text as the window itself reports it: WM_GETTEXT reaches custom
// window procedures, which GetWindowText does not for other processes.
std::wstring TextOf(HWND h, bool* timed_out = nullptr) {
    if (timed_out) *timed_out = false;
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMsgTimeoutMs, &len)) {
        if (timed_out) *timed_out = true;
        wchar_t buf[1024] = {0};
        InternalGetWindowText(h, buf, 1024);
        return buf;
    }
    std::vector<wchar_t> buf(len + 2, 0);
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, buf.size(), (LPARAM)buf.data(), SMTO_ABORTIFHUNG, kMsgTimeoutMs, &got)) {
        if (timed_out) *timed_out = true;
        return std::wstring();
    }
    return std::wstring(buf.data());
}

DWORD PidOf(HWND h, DWORD* tid = nullptr) {
    DWORD pid = 0;
    DWORD t = GetWindowThreadProcessId(h, &pid);
    if (tid) *tid = t;
    return pid;
}

void RectJson(Json& j, const char* key, const RECT& r) {
    j.Key(key).BeginObject()
        .KInt("left", r.left).KInt("top", r.top)
        .KInt("right", r.right).KInt("bottom", r.bottom)
        .KInt("width", r.right - r.left).KInt("height", r.bottom - r.top)
        .EndObject();
}

std::string ColorHex(COLORREF c) {
    if (c == CLR_NONE) return "none";
    if (c == CLR_DEFAULT) return "default";
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

bool Send(HWND h, UINT msg, WPARAM w, LPARAM l, LRESULT* result) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG, kMsgTimeoutMs, &r)) return false;
    if (result) *result = (LRESULT)r;
    return true;
}

LRESULT SendOr(HWND h, UINT msg, WPARAM w, LPARAM l, LRESULT fallback) {
    LRESULT r = 0;
    return Send(h, msg, w, l, &r) ? r : fallback;
}

// A block of memory inside the target process, for the list-view messages
// whose structures carry pointers the system does not marshal.
class RemoteBlock {
public:
    RemoteBlock(HWND h, size_t size) : size_(size) {
        DWORD pid = PidOf(h);
        proc_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                            FALSE, pid);
        if (proc_) base_ = (char*)VirtualAllocEx(proc_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (base_) VirtualFreeEx(proc_, base_, 0, MEM_RELEASE);
        if (proc_) CloseHandle(proc_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool Ok() const { return base_ != nullptr; }
    char* At(size_t off) const { return base_ + off; }
    bool Write(size_t off, const void* data, size_t n) {
        SIZE_T done = 0;
        return off + n <= size_ && WriteProcessMemory(proc_, base_ + off, data, n, &done) && done == n;
    }
    bool Read(size_t off, void* data, size_t n) {
        SIZE_T done = 0;
        return off + n <= size_ && ReadProcessMemory(proc_, base_ + off, data, n, &done) && done == n;
    }
    // A NUL-terminated string at any address of the target; a control may
    // answer with a pointer to its own copy instead of filling our buffer.
    std::wstring ReadString(const void* addr, size_t max_chars) {
        std::wstring s;
        const char* p = (const char*)addr;
        wchar_t chunk[64];
        while (s.size() < max_chars) {
            SIZE_T done = 0;
            if (!ReadProcessMemory(proc_, p, chunk, sizeof chunk, &done) || done < sizeof(wchar_t)) {
                // Near the end of a mapping: fall back to one character at a time.
                if (!ReadProcessMemory(proc_, p, chunk, sizeof(wchar_t), &done) || done != sizeof(wchar_t)) break;
                if (chunk[0] == 0) break;
                s += chunk[0];
                p += sizeof(wchar_t);
                continue;
            }
            size_t n = done / sizeof(wchar_t);
            size_t i = 0;
            for (; i < n && chunk[i]; ++i) s += chunk[i];
            if (i < n) break;
            p += n * sizeof(wchar_t);
        }
        return s;
    }

private:
    HANDLE proc_ = nullptr;
    char* base_ = nullptr;
    size_t size_;
};

const char* ViewName(DWORD style) {
    switch (style & LVS_TYPEMASK) {
    case LVS_ICON: return "icon";
    case LVS_REPORT: return "report";
    case LVS_SMALLICON: return "smallicon";
    case LVS_LIST: return "list";
    }
    return "unknown";
}

std::string AlignName(int fmt) {
    switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_LEFT: return "left";
    case LVCFMT_RIGHT: return "right";
    case LVCFMT_CENTER: return "center";
    }
    return "unknown";
}

void ListViewJson(Json& j, HWND lv, int max_rows) {
    DWORD style = (DWORD)GetWindowLongPtrW(lv, GWL_STYLE);
    LRESULT ex = SendOr(lv, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0, -1);
    LRESULT count = SendOr(lv, LVM_GETITEMCOUNT, 0, 0, -1);
    j.Key("listview").BeginObject();
    j.KStrA("view", ViewName(style));
    j.KUInt("extended_style", (unsigned long long)(DWORD)ex);
    j.KInt("item_count", count);
    j.KInt("selected_count", SendOr(lv, LVM_GETSELECTEDCOUNT, 0, 0, -1));
    j.KStrA("text_color", ColorHex((COLORREF)SendOr(lv, LVM_GETTEXTCOLOR, 0, 0, 0)));
    j.KStrA("text_bk_color", ColorHex((COLORREF)SendOr(lv, LVM_GETTEXTBKCOLOR, 0, 0, 0)));
    j.KStrA("bk_color", ColorHex((COLORREF)SendOr(lv, LVM_GETBKCOLOR, 0, 0, 0)));

    HWND header = (HWND)SendOr(lv, LVM_GETHEADER, 0, 0, 0);
    int ncols = header ? (int)SendOr(header, HDM_GETITEMCOUNT, 0, 0, -1) : -1;

    const size_t text_off = 512;
    RemoteBlock mem(lv, text_off + kCellChars * sizeof(wchar_t));
    j.KBool("remote_memory", mem.Ok());

    // Columns: when the header cannot be asked, probe until the control
    // reports that no further column exists.
    int probe_limit = ncols >= 0 ? ncols : 256;
    int columns_read = 0;
    j.Key("columns").BeginArray();
    for (int i = 0; mem.Ok() && i < probe_limit; ++i) {
        LVCOLUMNW col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.pszText = (LPWSTR)mem.At(text_off);
        col.cchTextMax = (int)kCellChars;
        wchar_t zero = 0;
        mem.Write(text_off, &zero, sizeof zero);
        if (!mem.Write(0, &col, sizeof col)) break;
        LRESULT ok = 0;
        if (!Send(lv, LVM_GETCOLUMNW, i, (LPARAM)mem.At(0), &ok) || !ok) break;
        LVCOLUMNW back = {};
        mem.Read(0, &back, sizeof back);
        std::wstring title = back.pszText ? mem.ReadString(back.pszText, kCellChars) : std::wstring();
        j.BeginObject()
            .KStr("title", title)
            .KInt("width", back.cx)
            .KInt("fmt", back.fmt)
            .KStrA("align", AlignName(back.fmt))
            .KInt("subitem", back.iSubItem)
            .EndObject();
        ++columns_read;
    }
    j.EndArray();

    // Rows as cell texts for every column; a view without columns still has
    // its item labels.
    int cells = columns_read > 0 ? columns_read : 1;
    int rows = (int)(count < 0 ? 0 : count);
    bool truncated = rows > max_rows;
    if (truncated) rows = max_rows;
    j.Key("rows").BeginArray();
    for (int r = 0; mem.Ok() && r < rows; ++r) {
        j.BeginArray();
        for (int c = 0; c < cells; ++c) {
            LVITEMW item = {};
            item.iSubItem = c;
            item.pszText = (LPWSTR)mem.At(text_off);
            item.cchTextMax = (int)kCellChars;
            wchar_t zero = 0;
            mem.Write(text_off, &zero, sizeof zero);
            mem.Write(0, &item, sizeof item);
            if (!Send(lv, LVM_GETITEMTEXTW, r, (LPARAM)mem.At(0), nullptr)) {
                j.Null();
                continue;
            }
            LVITEMW back = {};
            mem.Read(0, &back, sizeof back);
            j.Str(back.pszText && back.pszText != LPSTR_TEXTCALLBACKW ? mem.ReadString(back.pszText, kCellChars)
                                                                      : std::wstring());
        }
        j.EndArray();
    }
    j.EndArray();
    j.KBool("rows_truncated", truncated);

    j.Key("selected").BeginArray();
    int guard = 0;
    for (LRESULT i = SendOr(lv, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED, -1); i >= 0 && guard < 100000;
         ++guard) {
        j.Int(i);
        LRESULT next = SendOr(lv, LVM_GETNEXTITEM, (WPARAM)i, LVNI_SELECTED, -1);
        if (next <= i) break;
        i = next;
    }
    j.EndArray();
    j.KInt("focused", SendOr(lv, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED, -1));
    j.EndObject();
}

void ProgressJson(Json& j, HWND pb) {
    j.Key("progress").BeginObject()
        .KInt("low", (int)SendOr(pb, PBM_GETRANGE, TRUE, 0, 0))
        .KInt("high", (int)SendOr(pb, PBM_GETRANGE, FALSE, 0, 0))
        .KInt("pos", (int)SendOr(pb, PBM_GETPOS, 0, 0, 0))
        .EndObject();
}

void WindowFields(Json& j, HWND h) {
    DWORD tid = 0;
    DWORD pid = PidOf(h, &tid);
    HWND parent = GetAncestor(h, GA_PARENT);
    if (parent == GetDesktopWindow()) parent = nullptr;
    bool text_timeout = false;
    std::wstring text = TextOf(h, &text_timeout);
    RECT wr = {}, cr = {};
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    POINT client_origin = {0, 0};
    ClientToScreen(h, &client_origin);

    j.KUInt("hwnd", HwndNum(h));
    j.KUInt("parent", HwndNum(parent));
    j.KUInt("owner", HwndNum(GetWindow(h, GW_OWNER)));
    j.KInt("pid", pid).KInt("tid", tid);
    j.KStr("class", ClassOf(h));
    j.KStr("text", text);
    if (text_timeout) j.KBool("text_timed_out", true);
    j.KInt("id", (long long)GetWindowLongPtrW(h, GWLP_ID));
    j.KUInt("style", (DWORD)GetWindowLongPtrW(h, GWL_STYLE));
    j.KUInt("exstyle", (DWORD)GetWindowLongPtrW(h, GWL_EXSTYLE));
    j.KBool("visible", IsWindowVisible(h) != 0);
    j.KBool("enabled", IsWindowEnabled(h) != 0);
    RectJson(j, "rect", wr);
    // Relative to the parent's client area, the coordinates the program used
    // to create the control; for a top-level window, the screen.
    RECT rel = wr;
    if (parent) MapWindowPoints(nullptr, parent, (POINT*)&rel, 2);
    RectJson(j, "rel", rel);
    RECT client_screen = {client_origin.x, client_origin.y, client_origin.x + cr.right, client_origin.y + cr.bottom};
    RectJson(j, "client", client_screen);
}

void DumpTree(Json& j, HWND h, int max_rows, int depth) {
    j.BeginObject();
    WindowFields(j, h);
    std::wstring cls = ClassOf(h);
    if (_wcsicmp(cls.c_str(), WC_LISTVIEWW) == 0) ListViewJson(j, h, max_rows);
    if (_wcsicmp(cls.c_str(), PROGRESS_CLASSW) == 0) ProgressJson(j, h);
    // Children in z-order, topmost first, as GW_HWNDNEXT walks them.
    j.Key("children").BeginArray();
    if (depth < 64) {
        for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) DumpTree(j, c, max_rows, depth + 1);
    }
    j.EndArray();
    j.EndObject();
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> v;
    EnumWindows([](HWND h, LPARAM p) -> BOOL {
        ((std::vector<HWND>*)p)->push_back(h);
        return TRUE;
    }, (LPARAM)&v);
    return v;
}

std::wstring TitleOf(HWND h) {
    // GetWindowText does not send to other processes, so a busy program
    // cannot stall the search.
    wchar_t buf[1024] = {0};
    GetWindowTextW(h, buf, 1024);
    return buf;
}

// ---------------------------------------------------------------- commands

int CmdList(const Args& a) {
    bool bad = false;
    long long pid = -1;
    a.OptInt(L"pid", &pid, &bad);
    if (bad) return Fail(kUsage, L"bad --pid");
    Json j;
    j.BeginArray();
    for (HWND h : TopLevelWindows()) {
        DWORD p = PidOf(h);
        if (pid >= 0 && (long long)p != pid) continue;
        RECT r = {};
        GetWindowRect(h, &r);
        j.BeginObject()
            .KUInt("hwnd", HwndNum(h))
            .KInt("pid", p)
            .KStr("class", ClassOf(h))
            .KStr("title", TitleOf(h));
        RectJson(j, "rect", r);
        j.KUInt("style", (DWORD)GetWindowLongPtrW(h, GWL_STYLE))
            .KUInt("exstyle", (DWORD)GetWindowLongPtrW(h, GWL_EXSTYLE))
            .KBool("visible", IsWindowVisible(h) != 0)
            .KBool("enabled", IsWindowEnabled(h) != 0)
            .EndObject();
    }
    j.EndArray();
    Emit(j);
    return kOk;
}

int CmdFind(const Args& a) {
    const std::wstring* title = a.Opt(L"title");
    const std::wstring* cls = a.Opt(L"class");
    bool bad = false;
    long long pid = -1, timeout = kDefaultWaitMs, visible_only = 0;
    a.OptInt(L"pid", &pid, &bad);
    a.OptInt(L"timeout", &timeout, &bad);
    a.OptInt(L"visible", &visible_only, &bad);
    if (bad || (!title && !cls)) return Fail(kUsage, L"usage: find --title T [--class C] [--pid P] [--visible 1] [--timeout MS]");
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND h : TopLevelWindows()) {
            if (cls && _wcsicmp(ClassOf(h).c_str(), cls->c_str()) != 0) continue;
            if (title && TitleOf(h) != *title) continue;
            if (pid >= 0 && (long long)PidOf(h) != pid) continue;
            if (visible_only && !IsWindowVisible(h)) continue;
            Json j;
            j.BeginObject().KUInt("hwnd", HwndNum(h)).KInt("pid", PidOf(h)).KStr("class", ClassOf(h))
                .KStr("title", TitleOf(h)).KInt("waited_ms", GetTickCount() - start).EndObject();
            Emit(j);
            return kOk;
        }
        if ((long long)(GetTickCount() - start) >= timeout) break;
        Sleep(kPollMs);
    }
    return Fail(kTimedOut, L"no such window within the time-out");
}

int CmdDump(const Args& a) {
    if (a.pos.size() != 1) return Fail(kUsage, L"usage: dump HWND [--max-rows N]");
    HWND h = ParseHwnd(a.pos[0]);
    bool bad = false;
    long long max_rows = kDefaultMaxRows;
    a.OptInt(L"max-rows", &max_rows, &bad);
    if (bad || !h) return Fail(kUsage, L"bad argument");
    if (!IsWindow(h)) return Fail(kTimedOut, L"no such window");
    Json j;
    DumpTree(j, h, (int)max_rows, 0);
    Emit(j);
    return kOk;
}

int CmdPost(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (!IsWindow(h)) return Fail(kTimedOut, L"no such window");
    BOOL ok = PostMessageW(h, msg, w, l);
    Json j;
    j.BeginObject().KBool("ok", ok != 0).EndObject();
    Emit(j);
    return ok ? kOk : kFailed;
}

int CmdSendOrPost(const Args& a, bool send) {
    if (a.pos.size() != 4) return Fail(kUsage, L"usage: send|post HWND MSG WPARAM LPARAM");
    HWND h = ParseHwnd(a.pos[0]);
    UINT msg = 0;
    long long w = 0, l = 0;
    if (!h || !ParseMsg(a.pos[1], &msg) || !ParseInt(a.pos[2], &w) || !ParseInt(a.pos[3], &l))
        return Fail(kUsage, L"bad argument");
    if (!send) return CmdPost(h, msg, (WPARAM)w, (LPARAM)l);
    if (!IsWindow(h)) return Fail(kTimedOut, L"no such window");
    DWORD_PTR r = 0;
    SetLastError(0);
    BOOL ok = SendMessageTimeoutW(h, msg, (WPARAM)w, (LPARAM)l, SMTO_ABORTIFHUNG, kMsgTimeoutMs, &r);
    if (!ok) return Fail(kFailed, L"the window did not answer");
    Json j;
    j.BeginObject().KBool("ok", true).KInt("result", (long long)(LRESULT)r)
        .KUInt("result_unsigned", (unsigned long long)r).EndObject();
    Emit(j);
    return kOk;
}

int CmdKey(const Args& a) {
    if (a.pos.size() != 2) return Fail(kUsage, L"usage: key HWND esc|tab|enter|space|vk:N");
    HWND h = ParseHwnd(a.pos[0]);
    const std::wstring& name = a.pos[1];
    UINT vk = 0;
    if (name == L"esc" || name == L"escape") vk = VK_ESCAPE;
    else if (name == L"tab") vk = VK_TAB;
    else if (name == L"enter" || name == L"return") vk = VK_RETURN;
    else if (name == L"space") vk = VK_SPACE;
    else if (name.rfind(L"vk:", 0) == 0) {
        long long v = 0;
        if (!ParseInt(name.substr(3), &v)) return Fail(kUsage, L"bad key");
        vk = (UINT)v;
    }
    if (!h || !vk) return Fail(kUsage, L"bad argument");
    if (!IsWindow(h)) return Fail(kTimedOut, L"no such window");
    // lParam as a real key stroke carries it: repeat count 1, the scan code,
    // and for the release the previous-state and transition bits.
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    LPARAM down = 1 | ((LPARAM)scan << 16);
    LPARAM up = down | (1L << 30) | ((LPARAM)1 << 31);
    BOOL ok = PostMessageW(h, WM_KEYDOWN, vk, down) && PostMessageW(h, WM_KEYUP, vk, up);
    Json j;
    j.BeginObject().KBool("ok", ok != 0).KInt("vk", vk).KInt("scan", scan).EndObject();
    Emit(j);
    return ok ? kOk : kFailed;
}

int CmdMsgBoxes(const Args& a) {
    bool bad = false;
    long long pid = -1;
    a.OptInt(L"pid", &pid, &bad);
    if (bad) return Fail(kUsage, L"bad --pid");
    Json j;
    j.BeginArray();
    for (HWND h : TopLevelWindows()) {
        if (ClassOf(h) != L"#32770" || !IsWindowVisible(h)) continue;
        DWORD p = PidOf(h);
        if (pid >= 0 && (long long)p != pid) continue;
        RECT r = {};
        GetWindowRect(h, &r);
        j.BeginObject().KUInt("hwnd", HwndNum(h)).KInt("pid", p).KStr("title", TitleOf(h))
            .KUInt("owner", HwndNum(GetWindow(h, GW_OWNER)));
        RectJson(j, "rect", r);
        std::vector<HWND> statics, buttons;
        for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            std::wstring cls = ClassOf(c);
            if (_wcsicmp(cls.c_str(), L"Static") == 0) statics.push_back(c);
            else if (_wcsicmp(cls.c_str(), L"Button") == 0) buttons.push_back(c);
        }
        j.Key("texts").BeginArray();
        for (HWND c : statics) {
            std::wstring t = TextOf(c);
            if (!t.empty()) j.Str(t);  // the icon is an untitled static
        }
        j.EndArray();
        j.Key("buttons").BeginArray();
        for (HWND c : buttons) {
            j.BeginObject().KUInt("hwnd", HwndNum(c)).KInt("id", (long long)GetWindowLongPtrW(c, GWLP_ID))
                .KStr("text", TextOf(c)).KBool("visible", IsWindowVisible(c) != 0)
                .KBool("enabled", IsWindowEnabled(c) != 0).EndObject();
        }
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    Emit(j);
    return kOk;
}

int CmdPidOf(const Args& a) {
    if (a.pos.size() != 1) return Fail(kUsage, L"usage: pid-of HWND");
    HWND h = ParseHwnd(a.pos[0]);
    if (!h) return Fail(kUsage, L"bad argument");
    if (!IsWindow(h)) return Fail(kTimedOut, L"no such window");
    DWORD tid = 0;
    DWORD pid = PidOf(h, &tid);
    Json j;
    j.BeginObject().KInt("pid", pid).KInt("tid", tid).EndObject();
    Emit(j);
    return kOk;
}

int CmdWaitText(const Args& a) {
    if (a.pos.size() != 2) return Fail(kUsage, L"usage: wait-text HWND TEXT [--timeout MS]");
    HWND h = ParseHwnd(a.pos[0]);
    bool bad = false;
    long long timeout = kDefaultWaitMs;
    a.OptInt(L"timeout", &timeout, &bad);
    if (!h || bad) return Fail(kUsage, L"bad argument");
    DWORD start = GetTickCount();
    std::wstring last;
    for (;;) {
        if (!IsWindow(h)) return Fail(kTimedOut, L"the window is gone");
        last = TextOf(h);
        if (last == a.pos[1]) {
            Json j;
            j.BeginObject().KBool("ok", true).KStr("text", last).KInt("waited_ms", GetTickCount() - start).EndObject();
            Emit(j);
            return kOk;
        }
        if ((long long)(GetTickCount() - start) >= timeout) break;
        Sleep(kPollMs);
    }
    Json j;
    j.BeginObject().KStr("error", L"the text did not appear within the time-out").KInt("code", kTimedOut)
        .KStr("text", last).EndObject();
    Emit(j);
    return kTimedOut;
}

int CmdWaitGone(const Args& a) {
    if (a.pos.size() != 1) return Fail(kUsage, L"usage: wait-gone HWND [--timeout MS]");
    HWND h = ParseHwnd(a.pos[0]);
    bool bad = false;
    long long timeout = kDefaultWaitMs;
    a.OptInt(L"timeout", &timeout, &bad);
    if (!h || bad) return Fail(kUsage, L"bad argument");
    DWORD start = GetTickCount();
    while (IsWindow(h)) {
        if ((long long)(GetTickCount() - start) >= timeout) return Fail(kTimedOut, L"the window is still there");
        Sleep(kPollMs);
    }
    Json j;
    j.BeginObject().KBool("ok", true).KInt("waited_ms", GetTickCount() - start).EndObject();
    Emit(j);
    return kOk;
}

// The code pages Wine derived from the locale, so a test can tell that it
// really runs under the locale it asked for.
int CmdCodepage() {
    Json j;
    j.BeginObject().KInt("acp", GetACP()).KInt("oemcp", GetOEMCP())
        .KInt("user_lcid", GetUserDefaultLCID()).KInt("system_lcid", GetSystemDefaultLCID()).EndObject();
    Emit(j);
    return kOk;
}

// ---------------------------------------------------------------- timing

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)freq.QuadPart;
}

// The stored text of a window, read without sending it a message: a program
// busy with a long job is neither slowed down nor blocked by the reader.
std::wstring StoredTextOf(HWND h) {
    wchar_t buf[1024] = {0};
    GetWindowTextW(h, buf, 1024);
    return buf;
}

// Clicks a button and waits in this one process for a label to show a text,
// so that the time measured is the program's and not that of starting
// readers. Every distinct text the label showed is reported in order, the
// one before the click first. When the label already shows the text, it has
// to change away from it first: a second scan ends on the same text as the
// first one.
int CmdClickWait(const Args& a) {
    if (a.pos.size() != 3)
        return Fail(kUsage, L"usage: click-wait BUTTON LABEL TEXT [--timeout MS] [--poll MS] [--idle 0|1]");
    HWND button = ParseHwnd(a.pos[0]);
    HWND label = ParseHwnd(a.pos[1]);
    const std::wstring& want = a.pos[2];
    bool bad = false;
    long long timeout = kDefaultWaitMs, poll = 5, idle = 1;
    a.OptInt(L"timeout", &timeout, &bad);
    a.OptInt(L"poll", &poll, &bad);
    a.OptInt(L"idle", &idle, &bad);
    if (!button || !label || bad || poll < 0) return Fail(kUsage, L"bad argument");
    if (!IsWindow(button) || !IsWindow(label)) return Fail(kTimedOut, L"no such window");

    std::vector<std::wstring> seen;
    seen.push_back(StoredTextOf(label));
    bool left_target = seen.back() != want;
    long long polls = 0;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!PostMessageW(button, BM_CLICK, 0, 0)) return Fail(kFailed, L"the click could not be posted");
    double elapsed = 0;
    bool found = false;
    for (;;) {
        std::wstring now = StoredTextOf(label);
        ++polls;
        elapsed = MillisecondsSince(start);
        if (now != seen.back()) seen.push_back(now);
        if (now != want) left_target = true;
        else if (left_target) { found = true; break; }
        if (!IsWindow(label)) break;
        if (elapsed >= (double)timeout) break;
        Sleep((DWORD)poll);
    }

    Json j;
    j.BeginObject();
    if (found) j.KBool("ok", true);
    else j.KStr("error", L"the text did not appear within the time-out").KInt("code", kTimedOut);
    j.Key("elapsed_ms").Int((long long)(elapsed + 0.5));
    j.Key("elapsed_us").Int((long long)(elapsed * 1000.0));
    j.KInt("polls", polls);
    j.Key("texts").BeginArray();
    for (auto& t : seen) j.Str(t);
    j.EndArray();
    // Until the program answers a message again: the label may be set a
    // moment before the handler returns to the message loop.
    if (found && idle) {
        DWORD_PTR r = 0;
        BOOL answered = SendMessageTimeoutW(label, WM_NULL, 0, 0, SMTO_NORMAL, (UINT)timeout, &r);
        j.KBool("answered", answered != 0);
        j.Key("idle_ms").Int((long long)(MillisecondsSince(start) + 0.5));
    }
    j.EndObject();
    Emit(j);
    return found ? kOk : kTimedOut;
}

// Holds a file open with no sharing at all, as another program might, so
// that nobody can delete, write or even read it meanwhile. Prints once it
// holds, then waits and closes it at the end.
// Every text a window shows until it shows TEXT, and whether its top-level
// window is visible, with the milliseconds since the command started. Reads
// the stored text (no message is sent), so a busy program is neither waited
// for nor disturbed.
int CmdWatch(const Args& a) {
    if (a.pos.size() != 1) return Fail(kUsage, L"usage: watch HWND --until TEXT [--timeout MS] [--poll MS]");
    HWND h = ParseHwnd(a.pos[0]);
    const std::wstring* until = a.Opt(L"until");
    bool bad = false;
    long long timeout = kDefaultWaitMs, poll = 2;
    a.OptInt(L"timeout", &timeout, &bad);
    a.OptInt(L"poll", &poll, &bad);
    if (!h || !until || bad || poll < 1) return Fail(kUsage, L"bad argument");
    const DWORD start = GetTickCount();
    struct Seen {
        std::wstring text;
        bool visible;
        DWORD ms;
    };
    std::vector<Seen> seen;
    bool reached = false;
    while ((long long)(GetTickCount() - start) < timeout) {
        if (!IsWindow(h)) break;
        std::wstring now = StoredTextOf(h);
        const bool visible = IsWindowVisible(GetAncestor(h, GA_ROOT)) != FALSE;
        if (seen.empty() || seen.back().text != now || seen.back().visible != visible) {
            seen.push_back(Seen{now, visible, GetTickCount() - start});
        }
        if (now == *until) {
            reached = true;
            break;
        }
        Sleep((DWORD)poll);
    }
    Json j;
    j.BeginObject().KBool("ok", reached).Key("texts").BeginArray();
    for (auto& one : seen) {
        j.BeginObject().KStr("text", one.text).KBool("visible", one.visible).KInt("ms", one.ms).EndObject();
    }
    j.EndArray().EndObject();
    Emit(j);
    return reached ? kOk : kTimedOut;
}

// The window with the keyboard focus in the thread that owns HWND.
int CmdFocus(const Args& a) {
    if (a.pos.size() != 1) return Fail(kUsage, L"usage: focus HWND");
    HWND h = ParseHwnd(a.pos[0]);
    if (!h || !IsWindow(h)) return Fail(kUsage, L"bad window");
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &info)) return Fail(kFailed, L"no thread info");
    Json j;
    j.BeginObject().KInt("focus", (long long)(INT_PTR)info.hwndFocus)
        .KInt("active", (long long)(INT_PTR)info.hwndActive).KStr("text", StoredTextOf(info.hwndFocus)).EndObject();
    Emit(j);
    return kOk;
}

int CmdHold(const Args& a) {
    if (a.pos.size() != 1) return Fail(kUsage, L"usage: hold PATH [--seconds N] [--share none|read]");
    bool bad = false;
    long long seconds = 60;
    a.OptInt(L"seconds", &seconds, &bad);
    if (bad || seconds < 0) return Fail(kUsage, L"bad --seconds");
    // "read" holds the file the way a running copy holds its loaded library:
    // others may read it but not write it.
    const std::wstring* share = a.Opt(L"share");
    if (share && *share != L"none" && *share != L"read") return Fail(kUsage, L"bad --share");
    const DWORD shareMode = share && *share == L"read" ? FILE_SHARE_READ : 0;
    HANDLE file = CreateFileW(a.pos[0].c_str(), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Json j;
        j.BeginObject().KStr("error", L"the file could not be opened").KInt("code", kFailed)
            .KInt("last_error", GetLastError()).EndObject();
        Emit(j);
        return kFailed;
    }
    Json j;
    j.BeginObject().KBool("ok", true).KStr("holding", a.pos[0]).KInt("pid", GetCurrentProcessId()).EndObject();
    Emit(j);
    Sleep((DWORD)(seconds * 1000));
    CloseHandle(file);
    return kOk;
}

// The memory figures of another process; Wine takes them from the Linux
// process (VmHWM is the peak working set).
int CmdMemory(const Args& a) {
    if (a.pos.size() != 1) return Fail(kUsage, L"usage: memory PID");
    long long pid = 0;
    if (!ParseInt(a.pos[0], &pid) || pid <= 0) return Fail(kUsage, L"bad pid");
    HANDLE proc = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, (DWORD)pid);
    if (!proc) return Fail(kFailed, L"the process could not be opened");
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    BOOL ok = GetProcessMemoryInfo(proc, (PROCESS_MEMORY_COUNTERS*)&pmc, sizeof pmc);
    CloseHandle(proc);
    if (!ok) return Fail(kFailed, L"the system refused the memory figures");
    Json j;
    j.BeginObject()
        .KUInt("peak_working_set", pmc.PeakWorkingSetSize)
        .KUInt("working_set", pmc.WorkingSetSize)
        .KUInt("pagefile_usage", pmc.PagefileUsage)
        .KUInt("peak_pagefile_usage", pmc.PeakPagefileUsage)
        .KUInt("private_usage", pmc.PrivateUsage)
        .EndObject();
    Emit(j);
    return kOk;
}

int Usage() {
    return Fail(kUsage,
                L"commands: list [--pid P] | find --title T [--class C] [--pid P] [--visible 1] [--timeout MS] | "
                L"dump HWND [--max-rows N] | click HWND | key HWND esc|tab|enter|space|vk:N | "
                L"send HWND MSG WPARAM LPARAM | post HWND MSG WPARAM LPARAM | close HWND | "
                L"msgboxes [--pid P] | pid-of HWND | wait-text HWND TEXT [--timeout MS] | "
                L"wait-gone HWND [--timeout MS] | codepage | "
                L"click-wait BUTTON LABEL TEXT [--timeout MS] [--poll MS] [--idle 0|1] | "
                L"hold PATH [--seconds N] [--share none|read] | memory PID | "
                L"watch HWND --until TEXT [--timeout MS] [--poll MS] | focus HWND");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    std::wstring cmd = argv[1];
    Args a;
    if (!SplitArgs(argc, argv, 2, &a)) return Fail(kUsage, L"an option lacks its value");

    if (cmd == L"list") return CmdList(a);
    if (cmd == L"find") return CmdFind(a);
    if (cmd == L"dump") return CmdDump(a);
    if (cmd == L"send") return CmdSendOrPost(a, true);
    if (cmd == L"post") return CmdSendOrPost(a, false);
    if (cmd == L"key") return CmdKey(a);
    if (cmd == L"msgboxes") return CmdMsgBoxes(a);
    if (cmd == L"pid-of") return CmdPidOf(a);
    if (cmd == L"wait-text") return CmdWaitText(a);
    if (cmd == L"wait-gone") return CmdWaitGone(a);
    if (cmd == L"codepage") return CmdCodepage();
    if (cmd == L"click-wait") return CmdClickWait(a);
    if (cmd == L"hold") return CmdHold(a);
    if (cmd == L"watch") return CmdWatch(a);
    if (cmd == L"focus") return CmdFocus(a);
    if (cmd == L"memory") return CmdMemory(a);
    if (cmd == L"click" || cmd == L"close") {
        if (a.pos.size() != 1) return Usage();
        HWND h = ParseHwnd(a.pos[0]);
        if (!h) return Fail(kUsage, L"bad argument");
        return CmdPost(h, cmd == L"click" ? BM_CLICK : WM_CLOSE, 0, 0);
    }
    return Usage();
}
