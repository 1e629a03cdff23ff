// Trace and log output.
//
// printk hands one formatted line to the debug channel. The default channel is
// silent unless the environment variable CAIRN_TRACE is set (to anything), and
// then writes to standard error. Tests install their own channel to capture it.
// Wide text is delivered as UTF-8.
#pragma once

#include "basalt/KvBasicString.h"

// Receiver of finished trace text. Write may be called from any thread.
class KvTraceChannel {
public:
    virtual ~KvTraceChannel() = default;
    virtual void Write(const char* utf8, int length) = 0;
};

// Installs `channel` (not owned; null restores the default) and returns the previous
// one (null when the default was active). An installed channel receives every line,
// whether or not CAIRN_TRACE is set.
KvTraceChannel* SetKvTraceChannel(KvTraceChannel* channel);

// printf-style trace; the text is cut at 4095 characters (UTF-16 units in the wide form).
// With the default channel and no CAIRN_TRACE nothing is formatted at all.
void printk(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void printk(const char16_t* fmt, ...);

// Appends the formatted text to the log file "log.txt" under $XDG_STATE_HOME/cairn/
// (default ~/.local/state/cairn/), creating the directories. The file is opened and
// closed at every call; when it cannot be opened nothing is written.
void printlog(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void printlog(const char16_t* fmt, ...);

// The directory printlog writes to, with a trailing "/"; empty when no home is known.
KvString KvLogDirectory();
