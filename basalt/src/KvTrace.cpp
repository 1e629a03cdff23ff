#include "basalt/KvTrace.h"

#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "basalt/KvBasicString.h"
#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"

namespace {

constexpr int kMaxTrace = 4095;

std::atomic<KvTraceChannel*> g_channel{nullptr};

bool TraceWanted() { return g_channel.load() != nullptr || std::getenv("CAIRN_TRACE") != nullptr; }

void Deliver(const KvString& text) {
    if (KvTraceChannel* ch = g_channel.load()) {
        ch->Write(text.c_str(), text.Length());
        return;
    }
    std::fwrite(text.c_str(), 1, static_cast<std::size_t>(text.Length()), stderr);
}

// Creates every missing directory of `path` (which ends with '/').
bool MakeDirectories(const std::string& path) {
    for (std::size_t at = 1; (at = path.find('/', at)) != std::string::npos; ++at) {
        const std::string part = path.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

std::string LogDirectory() { return ToPlatformPath(KvUserFolder("XDG_STATE_HOME", ".local/state").c_str()).c_str(); }

void AppendToLog(const KvString& text) {
    const std::string dir = LogDirectory();
    if (dir.empty() || !MakeDirectories(dir)) return;
    std::FILE* f = std::fopen((dir + "log.txt").c_str(), "ae");
    if (!f) return;
    std::fwrite(text.c_str(), 1, static_cast<std::size_t>(text.Length()), f);
    std::fclose(f);
}

// A wide trace text as the UTF-8 the channel and the log take, cut at the same length.
KvString WideTraceText(const char16_t* fmt, va_list ap) {
    KvWString wide;
    KvVFormat(wide, fmt, ap);
    wide.Truncate(kMaxTrace);
    KvString text;
    Utf16ToUtf8(text, wide.c_str(), wide.Length());
    return text;
}

}  // namespace

KvTraceChannel* SetKvTraceChannel(KvTraceChannel* channel) { return g_channel.exchange(channel); }

void printk(const char* fmt, ...) {
    if (!fmt || !TraceWanted()) return;
    KvString text;
    va_list ap;
    va_start(ap, fmt);
    KvVFormat(text, fmt, ap);
    va_end(ap);
    text.Truncate(kMaxTrace);
    Deliver(text);
}

void printk(const char16_t* fmt, ...) {
    if (!fmt || !TraceWanted()) return;
    va_list ap;
    va_start(ap, fmt);
    const KvString text = WideTraceText(fmt, ap);
    va_end(ap);
    Deliver(text);
}

void printlog(const char* fmt, ...) {
    if (!fmt) return;
    KvString text;
    va_list ap;
    va_start(ap, fmt);
    KvVFormat(text, fmt, ap);
    va_end(ap);
    AppendToLog(text);
}

void printlog(const char16_t* fmt, ...) {
    if (!fmt) return;
    va_list ap;
    va_start(ap, fmt);
    const KvString text = WideTraceText(fmt, ap);
    va_end(ap);
    AppendToLog(text);
}

KvString KvLogDirectory() { return KvString(LogDirectory().c_str()); }
