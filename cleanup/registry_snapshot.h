// The administrator's board and station configuration carried across a
// reinstallation: saved into a registry editor file before the product's
// values are deleted, and imported again once the new files are in place.
#pragma once

#include <string>

// "~ORVANTA.REG" in the snapshot folder.
std::string SnapshotPath(const std::string& folder);
// Writes the snapshot, or keeps one left behind that is still the only copy
// of the configuration; true when the folder then holds it and the
// configuration may be deleted from the registry. A snapshot is owed its
// import from then on, until the import has ended or the administrator has
// set the stations up again.
bool SaveRegistrySnapshot(const std::string& folder);
// To be called once the data move has deleted the configuration: what of it
// the registry holds from then on was put back since.
void RecordConfigurationMoved();
// Has the registry editor import a snapshot that is owed its import and
// deletes it afterwards; deletes one that is not owed one, unread.
void ImportRegistrySnapshot(const std::string& folder);
