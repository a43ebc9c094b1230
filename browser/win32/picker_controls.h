// The picker control library: a drive list, a directory list and a
// file-type list that a dialog places with one call each, plus two helpers
// for the common-control library. Each control is a container window of its
// own class around one standard inner control with the same identifier;
// the functions return the inner control, which is what callers talk to.
#pragma once

#include <windows.h>

#include <string>

#define QUARN_EXPORT extern "C" __declspec(dllexport)

/// Messages the drive list answers (sent to the handle CreatePBDriveCB
/// returned): link a directory list (first parameter), set the display flag.
constexpr UINT kDriveLinkDirList = 5024;
constexpr UINT kDriveSetDisplayFlag = 5025;

/// Messages the directory list answers: link a file list, set the display
/// flag, set the single-click flag, show the folder named by the second
/// parameter, and copy the selected folder into a buffer (first parameter
/// its size, second the buffer) returning its length.
constexpr UINT kDirLinkFileList = 6024;
constexpr UINT kDirSetDisplayFlag = 6026;
constexpr UINT kDirSetSingleClick = 6027;
constexpr UINT kDirShowFolder = 6028;
constexpr UINT kDirSelectedFolder = 6034;

/// What a directory list tells a linked file list: show this folder.
constexpr UINT kFileListShowFolder = 7028;

/// Creates a drive list at x, y (w by h, h the dropped height) in `parent`,
/// in dialog units when `dialog_units` is non-zero, selecting the drive of
/// `path` (empty: the current folder). Returns the inner combo box, or null.
QUARN_EXPORT HWND WINAPI CreatePBDriveCB(HWND parent, int id, int x, int y,
                                         int w, int h, int dialog_units,
                                         const char* path);

/// Creates a directory list showing `path` (empty: the current folder).
/// Returns the inner list box, or null.
QUARN_EXPORT HWND WINAPI CreatePBDirLB(HWND parent, int id, int x, int y, int w,
                                       int h, int dialog_units,
                                       const char* path);

/// Creates an empty file-type list; the caller adds the entries. Returns
/// the inner combo box, or null.
QUARN_EXPORT HWND WINAPI CreatePBFileTypeCB(HWND parent, int id, int x, int y,
                                            int w, int h, int dialog_units);

/// The version of `file_name` in the system folder as major + minor / 100
/// (5.81 for 5.81), or 0 when it has none.
QUARN_EXPORT double WINAPI GETSYSFILEVER(const char* file_name);

/// Loads "COMCTL32.DLL", initialises the classes `flags` names (through
/// InitCommonControlsEx when offered, else InitCommonControls) and returns
/// the library's version as GETSYSFILEVER gives it.
QUARN_EXPORT double WINAPI INITCOMCTL32(DWORD flags);

namespace quarn {

/// The directory list's selected folder, ending in a backslash, or empty
/// when nothing is selected. A non-empty `select_first` first selects the
/// first entry that begins with it, ignoring case.
std::string SelectedFolderOf(HWND dir_list,
                             const std::string& select_first = "");

}  // namespace quarn
