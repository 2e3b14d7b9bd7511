// What an earlier installation left behind before the new one copies its
// files: its files, its registry values and keys, its start-menu group;
// and, once the new files are in place, the shared-file counts of the
// product's files.
#pragma once

#include <string>

// The installation list in the old folder, then the folder when empty.
void RemoveOldInstallation(const std::string& oldFolder);
void RemoveWindowsFolderFiles();
void RemoveSystemFolderFiles();
// The 13 product values, then the setup key with the configuration; when no
// snapshot holds the configuration, only the values the installation writes
// again.
void DeleteProductValues(bool snapshotSaved);
// The maker's key of the current user and the keys of earlier releases.
void DeleteMakerAndVersionKeys();
// The start-menu group that the installation recorded ("Install Menu"); to
// be read before the product's values are deleted.
std::string RecordedStartMenuGroup();
// The shortcuts of the product's start-menu group, then the group: the
// recorded group, or the brand's when none was recorded.
void RemoveStartMenuGroup(std::string group);
// Counts of one for the product's files that have a count.
void ResetSharedFileCounts(const std::string& installFolder);

// The current user's start-menu programs folder.
std::string ProgramsFolder();
