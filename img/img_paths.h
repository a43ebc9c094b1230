// Where the archive's files lie inside the game folder.
#pragma once

namespace quarn {

/// The directory, relative to the game folder.
inline constexpr char kImgDirFile[] = "models\\gta3.dir";
/// The archive, relative to the game folder.
inline constexpr char kImgArchiveFile[] = "models\\gta3.img";
/// The text table IMG VERIFY writes, relative to the game folder.
inline constexpr char kImgDumpFile[] = "models\\dump.txt";

}  // namespace quarn
