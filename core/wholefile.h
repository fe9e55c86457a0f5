#pragma once

#include <optional>
#include <string>
#include <string_view>

// Writes `content` to `path` whole or not at all: into a temporary file beside it, flushed to
// the disk, then renamed over `path`. A file that was there keeps its permissions. On failure
// the old file is as it was, the temporary file is gone, and the reason is returned
// ("No space left on device").
std::optional<std::string> writeWholeFile(const std::string& path, std::string_view content);

// Reads a whole file into `content`; returns the reason when it cannot ("Is a directory").
std::optional<std::string> readWholeFile(const std::string& path, std::string& content);
