// Removing a folder with everything in it, and asking first.
#pragma once

#include <string>

// Deletes the folder's files and subfolders (read-only ones too) and the
// folder; false at the first thing that cannot be deleted.
bool DeleteFolderTree(const std::string& folder);
// Shows the folder's full path and asks whether to delete it.
bool AskToDeleteFolder(const std::string& folder);

// The product's start-up folder, when the administrator agrees.
void OfferStartupFolderRemoval();
// The stations' task folders, each when the administrator agrees, and
// their task logs without asking.
void OfferTaskFolderRemoval();
