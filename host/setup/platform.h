// The small pieces of Win32 the commands share: folder paths in the form the
// engine passes them, and the system's wording for an error.
#pragma once

#include <windows.h>

#include <string>

namespace setup {

// The engine hands folders over without a trailing backslash; a drive's
// root becomes "C:", to which "\name" is appended as to any other folder.
std::string WithoutTrailingBackslash(std::string folder);

// The full form of a path, as GetFullPathNameA gives it; the path itself
// when it cannot be resolved.
std::string FullPath(const std::string& path);

std::string JoinPath(const std::string& folder, const std::string& name);

// The folder of setup.exe.
std::string ProgramFolder();

// The Windows temporary folder, without a trailing backslash.
std::string TempFolder();

// Whether two paths name the same folder (full paths, any case).
bool SameFolder(const std::string& a, const std::string& b);

bool FileExists(const std::string& path);
// Clears a file's read-only flag, which would refuse its replacement or
// removal; other flags stay. A missing file is left alone.
void MakeWritable(const std::string& path);
bool FolderExists(const std::string& path);

// Creates the folder and every missing folder above it. On failure, error
// names the folder that could not be made.
bool CreateFolders(const std::string& folder, std::string& error);

// The system's wording for a Win32 error code, on one line.
std::string ErrorText(DWORD code);

}  // namespace setup
