// The application object: one per program, constructed statically, driven
// by the framework's WinMain through InitInstance, the message loop and
// ExitInstance.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "command_target.h"

class CWnd;
class CDocTemplate;

class CWinApp : public CCmdTarget {
public:
    // Without a name the framework takes the application-title string
    // (57344) of the program, else the program's file name.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop; ends with ExitInstance's result.
    virtual int Run();

    // The per-user profile then lies under HKEY_CURRENT_USER
    // "Software\<company>\<application name>".
    void SetRegistryKey(const char* company);
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue) const;
    BOOL WriteProfileInt(const char* section, const char* entry, int value) const;
    std::string GetProfileString(const char* section, const char* entry, const char* defaultValue = "") const;
    BOOL WriteProfileString(const char* section, const char* entry, const char* value) const;
    // Reads the recent-file list of that many entries.
    void LoadStdProfileSettings(UINT maxRecentFiles = 4);
    // Controls have their 3D look on every Windows this program supports.
    BOOL Enable3dControls() { return TRUE; }

    void ParseCommandLine(CCommandLineInfo& info);
    // Creates the document, frame and view of the first template; true when
    // the main window exists.
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    void AddDocTemplate(CDocTemplate* docTemplate);

    // The framework's help commands.
    void OnHelp();
    void OnHelpUsing();

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    std::string m_strAppName;
    std::string m_strExeName;
    std::string m_strRegistryKey;
    std::string m_strProfileName;
    std::vector<std::string> m_recentFiles;
    CWnd* m_pMainWnd = nullptr;

    // Set up by the framework's WinMain before InitInstance.
    void InitializeFromModule(HINSTANCE instance, int showCommand);

private:
    bool OpenProfileKey(const char* section, bool create, HKEY& key) const;

    std::vector<std::unique_ptr<CDocTemplate>> templates_;
    std::string fixedName_;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The owner of a message box: the main window (or, while it is disabled,
// its last active popup); without one, the thread's active window.
HWND AfxMessageOwner();

// Registers a window class once per process; true when it is registered.
BOOL AfxRegisterClass(WNDCLASSA* windowClass);

// A message box owned by the main window, captioned with the application
// name.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = UINT(-1));

// The framework's entry: WinMain calls it.
int AfxWinMain(HINSTANCE instance, LPSTR commandLine, int showCommand);
