// The files that the product and its earlier versions installed, by the
// folder they were put in.
#pragma once

#include <string>
#include <vector>

// In the installation folder: the setup engine's files, the texts, the
// registry files, this library, both brands' control centers, the old port
// monitor and the station test program.
const std::vector<std::string>& InstallationFiles();
// In the Windows folder: the real-mode driver.
const std::vector<std::string>& WindowsFolderFiles();
// In the system folder: the station drivers and their libraries.
const std::vector<std::string>& SystemFolderFiles();
// The system folder's loader driver, which keeps no shared-file count.
const std::string& LoaderDriver();
// Shortcuts in the product's start-menu group.
const std::vector<std::string>& StartMenuShortcuts();

// Deletes each named file that is in the folder, in list order.
void DeleteListedFiles(const std::string& folder, const std::vector<std::string>& names);
