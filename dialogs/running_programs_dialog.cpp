#include "running_programs_dialog.h"

#include <cstring>

#include "application.h"
#include "driver_channel.h"
#include "resource_ids.h"
#include "resources.h"
#include "text.h"

namespace {

const int kIconSize = 16;
const int kStationImage = 0;
const int kProgramImage = 1;  // for programs without an icon of their own
const char kNoStation[] = "[ None ]";

// An icon of a file, or null (ExtractIcon answers 1 for a file that is not
// a program).
HICON FileIcon(const char* file, UINT index) {
    HICON icon = ExtractIconA(AfxGetInstanceHandle(), file, index);
    return reinterpret_cast<UINT_PTR>(icon) > 1 ? icon : nullptr;
}

// Adds the icon and gives it back to the system; its index, or -1.
int AddIcon(CImageList& list, HICON icon) {
    if (!icon) return -1;
    int index = list.Add(icon);
    DestroyIcon(icon);
    return index;
}

HTREEITEM InsertItem(HWND tree, HTREEITEM parent, const std::string& text, int image) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    return TreeView_InsertItem(tree, &insert);
}

}  // namespace

BEGIN_MESSAGE_MAP(CRunningProgramsDlg, CDialog)
ON_BN_CLICKED(IDC_PROGRAM_REFRESH, OnRefresh)
END_MESSAGE_MAP()

CRunningProgramsDlg::CRunningProgramsDlg(CWnd* parent)
    : CDialog(IDD_RUNNING_PROGRAMS, parent),
      launches(launchCapacity),
      tasks(taskCapacity),
      programs(programCapacity),
      hiddenNames(AfxLoadString(IDS_HIDDEN_PROGRAMS)) {}

HWND CRunningProgramsDlg::Tree() const {
    return GetDlgItem(IDC_PROGRAM_TREE);
}

BOOL CRunningProgramsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    BuildTree();
    return TRUE;
}

void CRunningProgramsDlg::OnRefresh() {
    HWND tree = Tree();
    TreeView_DeleteAllItems(tree);
    TreeView_SetImageList(tree, nullptr, TVSIL_NORMAL);
    imageList.DeleteImageList();
    BuildTree();
}

void CRunningProgramsDlg::BuildTree() {
    HWND tree = Tree();
    imageList.Create(kIconSize, kIconSize, ILC_COLOR8 | ILC_MASK, 256, 10);
    // The newer shell's icons when it is there, the system's own otherwise.
    HMODULE cool = LoadLibraryA("cool.dll");
    if (cool) {
        AddIcon(imageList, FileIcon("cool.dll", 16));
        AddIcon(imageList, FileIcon("cool.dll", 41));
    } else {
        AddIcon(imageList, FileIcon("shell32.dll", 15));
        AddIcon(imageList, FileIcon("shell32.dll", 2));
    }
    TreeView_SetImageList(tree, imageList.Get(), TVSIL_NORMAL);
    if (cool) FreeLibrary(cool);

    launchCount = static_cast<uint32_t>(DriverChannel::ReadLaunches(launches.data(), launchCapacity));
    taskCount = static_cast<uint32_t>(DriverChannel::ReadTasks(tasks.data(), taskCapacity));
    programCount = static_cast<uint32_t>(DriverChannel::ReadPrograms(programs.data(), programCapacity));

    for (uint32_t l = 0; l < launchCount; ++l) {
        const LaunchRecord& launch = launches[l];
        std::string station(launch.stationName, strnlen(launch.stationName, sizeof launch.stationName));
        if (station == kNoStation) continue;
        std::string user(launch.userName, strnlen(launch.userName, sizeof launch.userName));
        HTREEITEM item = InsertItem(tree, TVI_ROOT, AfxLowerCase(station + " : " + user), kStationImage);
        for (uint32_t t = 0; t < taskCount; ++t) {
            if (tasks[t].stationIndex != static_cast<uint32_t>(launch.stationIndex)) continue;
            for (uint32_t p = 0; p < programCount; ++p)
                if (programs[p].taskKey == tasks[t].taskKey) AddProgram(item, programs[p]);
        }
        TreeView_Expand(tree, item, TVE_EXPAND);
    }
}

void CRunningProgramsDlg::AddProgram(HTREEITEM station, const ProgramRecord& program) {
    std::string command(program.commandText, strnlen(program.commandText, sizeof program.commandText));
    std::string name = ProgramOfCommand(command, true);
    // The system's own programs stay out of the list.
    if (hiddenNames.find(name) != std::string::npos) return;
    if (HasItemBeginningWith(station, name)) return;
    std::string path = ProgramOfCommand(command, false);
    // An empty description is one: only a file without one shows the command.
    const std::string description = versions.FindString(path, "FileDescription").value_or(command);
    int image = AddIcon(imageList, FileIcon(path.c_str(), 0));
    InsertItem(Tree(), station, name + " : " + AfxLowerCase(description), image >= 0 ? image : kProgramImage);
}

bool CRunningProgramsDlg::HasItemBeginningWith(HTREEITEM station, const std::string& name) const {
    HWND tree = Tree();
    for (HTREEITEM child = TreeView_GetChild(tree, station); child; child = TreeView_GetNextSibling(tree, child)) {
        char text[512] = {};
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = child;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        if (TreeView_GetItem(tree, &item) && std::strncmp(text, name.c_str(), name.size()) == 0) return true;
    }
    return false;
}
