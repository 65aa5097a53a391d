#pragma once

#include <sys/types.h>
#include <optional>
#include <string>
#include <string_view>

namespace examora {

// Small file operations over POSIX with the durability rules the stores rely on.
//
// Temporary files are named "<target>.tmp.<pid>.<process token>.<n>". A writer killed between
// creating one and renaming it leaves it behind; the next write of the same target removes it
// (its process is gone, or an earlier process had the writer's id), and never waits for it.

// The whole content of a regular file, or nullopt when it cannot be read.
std::optional<std::string> readFileContent(const std::string& path);

// Replaces the file at path with data so that a reader (or a crash) sees either the old content or
// the new, never a mix: the data goes to a fresh temporary file in the same directory, which is
// flushed to disk and renamed over the target; the directory is flushed too. The temporary file
// is removed on every failure. The new file gets the given mode. On failure, error (when given)
// receives a one-line reason.
bool writeFileAtomically(const std::string& path, std::string_view data, mode_t mode = 0644,
                         std::string* error = nullptr);

// Installs a copy of from at to unless a file already exists there; an existing file is never
// touched. The copy is written to a temporary file and linked into place, so an interrupted or
// failed copy never leaves a partial file at to, and two processes installing at once cannot
// overwrite each other. True when a file exists at to afterwards.
bool installFileIfAbsent(const std::string& from, const std::string& to,
                         std::string* error = nullptr);

// Test seams for interrupted writes, process-wide: `pid` stands in for getpid() in the names of
// temporary files (so that a test can play a process that got the id of a killed one), and
// `created` is called with a temporary file's name right after the file is created. Null
// members restore the defaults.
struct TemporaryFileHooks {
    pid_t (*pid)() = nullptr;
    void (*created)(const std::string& temporaryPath) = nullptr;
};
void setTemporaryFileHooksForTesting(TemporaryFileHooks hooks);

// Creates the directory and its parents when missing; true when it is a directory afterwards.
// Directories it creates get the given mode (subject to the umask unless exact is set, in which
// case the last component is also chmod-ed to mode even when it already existed).
bool ensureDirectory(const std::string& path, mode_t mode = 0755, bool exact = false);

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);

}  // namespace examora
