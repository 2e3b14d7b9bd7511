// The launched stations with the programs that run on them, as a tree with
// the programs' own icons, read from the station-manager driver. The tree
// is a snapshot; the refresh button reads it afresh.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "dialog.h"
#include "image_list.h"
#include "program_files.h"
#include "records.h"
#include "version_info.h"

class CRunningProgramsDlg : public CDialog {
public:
    explicit CRunningProgramsDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;

    uint32_t launchCount = 0;
    const uint32_t launchCapacity = 32;
    std::vector<LaunchRecord> launches;
    uint32_t taskCount = 0;
    const uint32_t taskCapacity = 128;
    std::vector<TaskRecord> tasks;
    uint32_t programCount = 0;
    const uint32_t programCapacity = 256;
    std::vector<ProgramRecord> programs;
    VersionReader versions;
    CImageList imageList;
    std::string hiddenNames;

protected:
    void BuildTree();
    void OnRefresh();
    void AddProgram(HTREEITEM station, const ProgramRecord& program);
    bool HasItemBeginningWith(HTREEITEM station, const std::string& name) const;
    HWND Tree() const;

    DECLARE_MESSAGE_MAP()
};
