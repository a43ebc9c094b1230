// Writing the generated files straight to the operating system's paths.
// The generator prepares test and benchmark input, so it deliberately
// bypasses the engine's file system: what it writes must not depend on the
// code that is being tested.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quarn {

/// Creates `folder` and its missing parents. False with `*error` set when
/// the folder is not there afterwards.
bool MakeNativeFolders(const std::filesystem::path& folder, std::string* error);

/// Writes `bytes` as the whole content of `file` (binary, replacing it),
/// creating its parent folders. False with `*error` naming the file.
bool WriteNativeFile(const std::filesystem::path& file,
                     const std::string& bytes, std::string* error);

/// Writes `lines` as a text file, each line followed by CR LF.
bool WriteNativeTextFile(const std::filesystem::path& file,
                         const std::vector<std::string>& lines,
                         std::string* error);

/// Copies `from` over `to`, creating `to`'s parent folders.
bool CopyNativeFile(const std::filesystem::path& from,
                    const std::filesystem::path& to, std::string* error);

}  // namespace quarn
