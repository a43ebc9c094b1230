// Paths in `quarn`'s own messages, spelled as the user typed them rather
// than in the engine's internal form.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace quarn {

/// `engine_path` as this platform spells it: outside Windows, backslashes
/// become slashes (the remembered "\tmp\g\" is shown as "/tmp/g/").
std::string UserSpelling(const std::string& engine_path);

/// `engine_path` as UserSpelling spells it, without a trailing separator
/// (unless it is a root), as messages name files and folders.
std::string PathSpelling(const std::string& engine_path);

/// The file `name` inside the folder the user typed as `typed_dir` (empty
/// for the current folder), spelled for this platform.
std::string TypedPathIn(const std::string& typed_dir, const std::string& name);

/// The installer folder the user typed (`typed_dir`, empty for the current
/// folder), in engine form ending in a backslash, as the window program
/// takes its own folder. False with `*problem` set when it is missing or
/// its path is too long.
bool ResolveInstallerDir(FileSystem& fs, const std::string& typed_dir,
                         std::string* dir, std::string* problem);

}  // namespace quarn
