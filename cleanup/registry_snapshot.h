// The administrator's board and station configuration carried across a
// reinstallation: saved into a registry editor file before the product's
// values are deleted, and imported again once the new files are in place.
#pragma once

#include <string>

// "~ORVANTA.REG" in the snapshot folder.
std::string SnapshotPath(const std::string& folder);
// Writes the snapshot, or keeps one left by an earlier data move whose
// configuration is gone; true when the folder then holds it.
bool SaveRegistrySnapshot(const std::string& folder);
// Has the registry editor import the snapshot and deletes it afterwards.
void ImportRegistrySnapshot(const std::string& folder);
