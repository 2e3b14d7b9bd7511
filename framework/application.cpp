#include "application.h"

#include <shellapi.h>

#include "document.h"
#include "resources.h"
#include "seams.h"
#include "window.h"

namespace {
CWinApp* theApp = nullptr;
const UINT kApplicationTitle = 57344;
}  // namespace

CWinApp::CWinApp(const char* appName) {
    theApp = this;
    if (appName) fixedName_ = appName;
}

CWinApp::~CWinApp() {
    if (theApp == this) theApp = nullptr;
}

CWinApp* AfxGetApp() {
    return theApp;
}
CWnd* AfxGetMainWnd() {
    return theApp ? theApp->m_pMainWnd : nullptr;
}

void CWinApp::InitializeFromModule(HINSTANCE instance, int showCommand) {
    m_hInstance = instance;
    m_nCmdShow = showCommand;
    AfxSetInstanceHandle(instance);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(instance, path, MAX_PATH);
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    m_strExeName = name;
    if (!fixedName_.empty())
        m_strAppName = fixedName_;
    else if (!AfxLoadString(kApplicationTitle, m_strAppName))
        m_strAppName = m_strExeName;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}
int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::Run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        bool translated = false;
        for (HWND window = message.hwnd; window && !translated; window = GetParent(window)) {
            if (CWnd* object = CWnd::FromHandlePermanent(window)) translated = object->PreTranslateMessage(&message);
        }
        if (translated) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(const char* company) {
    m_strRegistryKey = company ? company : "";
    m_strProfileName = m_strAppName;
}

namespace {

// A profile section's key, closed when it goes.
struct ProfileKey {
    ProfileKey() = default;
    ~ProfileKey() {
        if (key) RegCloseKey(key);
    }
    ProfileKey(const ProfileKey&) = delete;
    ProfileKey& operator=(const ProfileKey&) = delete;
    HKEY key = nullptr;
};

// A text entry of an open profile section; false (text untouched) when it
// is missing or not a text.
bool ReadProfileText(HKEY key, const char* entry, std::string& text) {
    char buffer[1024] = {};
    DWORD type = 0, size = sizeof buffer - 1;
    if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    text = buffer;
    return true;
}

}  // namespace

bool CWinApp::OpenProfileKey(const char* section, bool create, HKEY& key) const {
    if (m_strRegistryKey.empty()) return false;
    std::string path = "Software\\" + m_strRegistryKey + "\\" + m_strProfileName + "\\" + section;
    LONG status = create ? RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key)
                         : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    return status == ERROR_SUCCESS;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const {
    ProfileKey profile;
    if (!OpenProfileKey(section, false, profile.key)) return static_cast<UINT>(defaultValue);
    DWORD value = 0, type = 0, size = sizeof value;
    LONG status = RegQueryValueExA(profile.key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return static_cast<UINT>(defaultValue);
    return value;
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const {
    ProfileKey profile;
    if (!OpenProfileKey(section, true, profile.key)) return FALSE;
    DWORD data = static_cast<DWORD>(value);
    LONG status = RegSetValueExA(profile.key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    return status == ERROR_SUCCESS;
}

std::string CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) const {
    std::string result = defaultValue ? defaultValue : "";
    ProfileKey profile;
    if (OpenProfileKey(section, false, profile.key)) ReadProfileText(profile.key, entry, result);
    return result;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) const {
    ProfileKey profile;
    if (!OpenProfileKey(section, true, profile.key)) return FALSE;
    LONG status = value ? RegSetValueExA(profile.key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                         static_cast<DWORD>(strlen(value) + 1))
                        : RegDeleteValueA(profile.key, entry);
    return status == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT maxRecentFiles) {
    m_recentFiles.clear();
    // The section is opened once for all its entries; start-up pays for
    // every registry request, and usually the section does not exist.
    ProfileKey profile;
    if (!OpenProfileKey("Recent File List", false, profile.key)) return;
    for (UINT i = 1; i <= maxRecentFiles; ++i) {
        std::string file;
        if (ReadProfileText(profile.key, ("File" + std::to_string(i)).c_str(), file) && !file.empty())
            m_recentFiles.push_back(file);
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    ParseCommandLineArguments(SplitCommandLine(GetCommandLineA()), info);
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
    templates_.emplace_back(docTemplate);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    if (templates_.empty()) return FALSE;
    const char* path = info.m_nShellCommand == CCommandLineInfo::FileOpen ? info.m_strFileName.c_str() : nullptr;
    return templates_.front()->OpenDocumentFile(path) != nullptr;
}

namespace {

// The program's help: a page beside the program named after it.
void OpenHelpPage() {
    CWinApp* app = AfxGetApp();
    char path[MAX_PATH] = {};
    GetModuleFileNameA(app->m_hInstance, path, MAX_PATH);
    std::string page = path;
    size_t dot = page.rfind('.');
    if (dot != std::string::npos) page.erase(dot);
    page += ".htm";
    if (GetFileAttributesA(page.c_str()) == INVALID_FILE_ATTRIBUTES) {
        AfxMessageBox(("The help page " + page + " is missing. Reinstall the program to restore it.").c_str(),
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    SHELLEXECUTEINFOA request = {};
    request.cbSize = sizeof request;
    request.lpFile = page.c_str();
    request.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&request))
        AfxMessageBox(("The help page " + page + " could not be opened.").c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void CWinApp::OnHelp() {
    OpenHelpPage();
}
void CWinApp::OnHelpUsing() {
    OpenHelpPage();
}

BOOL AfxRegisterClass(WNDCLASSA* windowClass) {
    WNDCLASSA existing;
    if (GetClassInfoA(windowClass->hInstance, windowClass->lpszClassName, &existing)) return TRUE;
    return RegisterClassA(windowClass) != 0;
}

HWND AfxMessageOwner() {
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->m_hWnd : nullptr;
    if (owner && !IsWindowEnabled(owner)) owner = GetLastActivePopup(owner);
    // Without a main window (a dialog that is the whole program) the window
    // that asks is the thread's active one: the question must hold it.
    return owner ? owner : GetActiveWindow();
}

int AfxMessageBox(const char* text, UINT type, UINT) {
    std::string caption = AfxGetApp() ? AfxGetApp()->m_strAppName : std::string();
    return AfxShowMessageBox(AfxMessageOwner(), text ? text : "", caption, type);
}

int AfxMessageBox(UINT stringId, UINT type, UINT) {
    return AfxMessageBox(AfxLoadString(stringId).c_str(), type);
}

int AfxWinMain(HINSTANCE instance, LPSTR, int showCommand) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->InitializeFromModule(instance, showCommand);
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) DestroyWindow(app->m_pMainWnd->m_hWnd);
        return app->ExitInstance();
    }
    return app->Run();
}
