// KvPaths: path and file functions over UTF-16 paths.
//
// Paths are UTF-16 and become UTF-8 file names at the system call. Both "\" and
// "/" are separators: functions that search a path recognise both, and every
// path handed to the system has its "\" turned into "/" (files written on
// another platform name their folders that way). A file name on this platform
// is bytes and need not be UTF-8: each byte that is not part of valid UTF-8
// travels as one of U+DC80..U+DCFF, so a name read from the system (a folder
// listing, the current directory, a command-line argument through
// FromPlatformPath) reaches the same file when handed back.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "basalt/KvBasicString.h"

// The file-system form of `path`: UTF-8, "\" turned into "/", U+DC80..U+DCFF
// turned back into the bytes 0x80..0xFF they stand for. Other lone surrogates
// are dropped.
KvString ToPlatformPath(const char16_t* path);
// The UTF-16 form of a file-system name: UTF-8 decoded, each byte that is not
// part of a valid sequence becoming U+DC00 plus the byte. ToPlatformPath gives
// the same bytes back.
KvWString FromPlatformPath(const char* bytes);

// The program's folder under one of the user's base folders, with a trailing "/": the
// environment variable `variable` (such as "XDG_DATA_HOME") when it holds an absolute path,
// otherwise $HOME + "/" + `homeDefault` (such as ".local/share"); then "cairn/". Empty when
// neither is usable. Nothing is created.
KvWString KvUserFolder(const char* variable, const char* homeDefault);

// Creates the directories of the directory part of `path` (the text before the
// last separator; the file name is ignored), one level after the other,
// skipping levels that exist. True when the last level was created by this
// call; false when it existed already, could not be made, or `path` has no
// directory part.
bool CreateDirectoryW(const char16_t* path);

// `out` becomes the absolute form of `relative` taken relative to the directory
// `base` (itself taken relative to the current directory when relative), with
// "." and ".." resolved by text, without following links. An absolute
// `relative` is only normalised. The current directory is never changed. True.
bool RelativePathToFullPath(const char16_t* base, const char16_t* relative, KvWString& out);

// `name` becomes the text after the last separator ("report.xml"), `directory`
// the text up to and including it ("" when there is none). Always true.
bool ExtractNameFromPath(const char16_t* path, KvWString& name, KvWString& directory);

// `out` becomes the text before the last separator plus "/" ("a/b/c" and
// "a/b/c/" both give "a/b/"). False, `out` untouched, when there is no such separator.
bool PreviousDirectory(const char16_t* path, KvWString& out);

// Renames every plain file of `directory` whose name begins with `oldPrefix` so
// that it begins with `newPrefix`. An existing file is never replaced: such a
// rename fails. True when no rename failed for a reason other than the file
// having gone; false also when the directory exists but cannot be read.
bool RenameFilesName(const char16_t* directory, const char16_t* oldPrefix, const char16_t* newPrefix);

// Removes the plain files of `path` (when `removeFiles`), its subdirectories
// with the same flags (when `recursive`), then `path` itself. Symbolic links
// count as files: they are removed, never followed. 0 when `path` is gone
// afterwards, -1 when something is left.
int wideremovefolder(const char16_t* path, bool recursive, bool removeFiles);

// Wide-path forms of fopen, open, remove and rename. `mode` of widefopen takes
// the C library's letters; a "t" (text mode) is accepted and ignored.
std::FILE* widefopen(const char16_t* path, const char16_t* mode);
int wideopen(const char16_t* path, int flags, int mode = 0666);
int wideremove(const char16_t* path);
// Unlike the C library's rename on this platform, an existing `to` is never
// replaced: the call fails (-1, errno EEXIST), as callers of this code expect.
int widerename(const char16_t* from, const char16_t* to);

// wcstok for UTF-16 text: splits `text` (null to continue) at any of
// `delimiters`, keeping its place in `*context`. Null when no token is left.
char16_t* wideStrtok(char16_t* text, const char16_t* delimiters, char16_t** context);

// Copies `source` to `target` in blocks of 1024 bytes. The copy is written
// beside the target and renamed over it only when complete, so a failed copy
// leaves an existing target as it was. With `failIfExists` an existing target
// makes the call fail. False when either file cannot be opened, read or written.
bool widecopy(const char16_t* source, const char16_t* target, bool failIfExists);

// `content` becomes the whole of the file `path`. False when it cannot be
// opened or a read fails; `content` then holds what was read before the error.
bool KvReadFile(const char16_t* path, std::string& content);

// Replaces the file `path` with `size` bytes of `data`: writes a temporary file
// in the same folder, flushes it to disk, renames it over `path` and flushes the
// folder, so readers see the old or the new content, never a mix. Through a
// symbolic link the file it points at is replaced and the link kept. When the
// folder is missing it is created, unless `folder` says it must exist. A replaced
// file keeps its mode; a new one gets 0666 less the umask. False, with an
// existing file left as it was, no temporary file left behind and errno saying
// why, when any step fails (also for a folder, a path ending in a separator, or
// a link that cannot be followed).
enum class KvFolder { Create, MustExist };
bool KvSaveFileAtomic(const char16_t* path, const void* data, std::size_t size, KvFolder folder = KvFolder::Create);
