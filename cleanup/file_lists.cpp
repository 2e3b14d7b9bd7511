#include "file_lists.h"

#include "file_removal.h"
#include "safe_paths.h"

const std::vector<std::string>& InstallationFiles() {
    static const std::vector<std::string> files = {
        // The setup engine's uninstall and registration files.
        "Uninst.isu", "Uninst.log", "Setup.iss", "Setup.ins", "Setup.lid", "Setup.ini", "Layout.bin", "Data.tag",
        // Licence and read-me.
        "License.txt", "Readme.txt",
        // Registry files and the numbered registry texts.
        "Orvanta.reg", "Zelto.reg", "Reg1.txt", "Reg2.txt", "Reg3.txt",
        // This library.
        "Cleanup.dll",
        // The control centers of both brands: program, resource library,
        // help with its contents, index and full-text files, icon.
        "Orvanta.exe", "ORVANTA.DLL", "Orvanta.htm", "Orvanta.hlp", "Orvanta.cnt", "Orvanta.gid", "Orvanta.fts",
        "Orvanta.ico", "zelto.exe", "ZELTO.DLL", "zelto.htm", "Zelto.hlp", "Zelto.cnt", "Zelto.gid", "Zelto.fts",
        "Zelto.ico", "Zelto.chm",
        // The old port monitor.
        "Localmon.dll",
        // The station test program.
        "StnTest.exe", "StnTest.txt"};
    return files;
}

const std::vector<std::string>& WindowsFolderFiles() {
    static const std::vector<std::string> files = {"Orvanta.sys"};
    return files;
}

const std::vector<std::string>& SystemFolderFiles() {
    // The station-manager, station, station I/O, keyboard and serial-port
    // drivers and the serial ports' property-page library are the files the
    // product installs and registers under these names. The sound, loader and
    // data drivers and the partner's support library are not named anywhere
    // else in the product; their names here are our own.
    static const std::vector<std::string> files = {"Corehub.vxd",   // station manager
                                                   "Trellmon.vxd",  // station
                                                   "Portlane.vxd",  // station I/O
                                                   "Keyrelay.vxd",  // keyboard
                                                   "Sndhub.vxd",    // sound (our name)
                                                   "Stnload.vxd",   // loader (our name)
                                                   "Stndata.vxd",   // data (our name)
                                                   "Serlink.vxd",   // station serial ports
                                                   "Serlink.dll",   // their property pages
                                                   "Ternway.dll"};  // the partner's support library (our name)
    return files;
}

const std::string& LoaderDriver() {
    static const std::string loader = "Stnload.vxd";
    return loader;
}

const std::vector<std::string>& StartMenuShortcuts() {
    // Some names stand twice: their earlier places in the group differed.
    static const std::vector<std::string> shortcuts = {"Administrator Tool.lnk",
                                                       "Online Guide.lnk",
                                                       "Read Me.lnk",
                                                       "Orvanta Read Me.lnk",
                                                       "Zelto Read Me.lnk",
                                                       "Test Notes.lnk",
                                                       "Orvanta Control Center.lnk",
                                                       "Uninstall Orvanta.lnk",
                                                       "Zelto Control Center.lnk",
                                                       "Uninstall Zelto.lnk",
                                                       "Orvanta Zq Control Center.lnk",
                                                       "Online Guide.lnk",
                                                       "Read Me.lnk",
                                                       "Uninstall Orvanta.lnk"};
    return shortcuts;
}

void DeleteListedFiles(const std::string& folder, const std::vector<std::string>& names) {
    if (!IsFullFolderPath(folder)) return;
    for (const std::string& name : names) DeleteIfPresent(JoinPath(folder, name));
}
