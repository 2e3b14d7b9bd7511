// The control center's one top-level window: it owns the configuration
// model, remembers its position between runs, and takes every command of
// the menu and of the home view's buttons.
#pragma once

#include "frame.h"
#include "system_config.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    CMainFrame() = default;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // Enables the home view's launch and stop buttons by the model's state.
    void RefreshStationButtons();

    SystemConfig m_config;

protected:
    // Commands run one after another, but a command's dialog or message box
    // lets the frame's messages through, a close among them: the close waits
    // until the command has ended, as the command goes on using the frame.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnShowWindowMessage(WPARAM wParam, LPARAM lParam);
    void OnClose();
    LRESULT OnQueryNewPalette(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaletteChanged(WPARAM wParam, LPARAM lParam);

    void OnLaunchStation();
    void OnStopStation();
    void OnAutoLaunchOn();
    void OnAutoLaunchOff();
    void OnShutdownDefaultOn();
    void OnShutdownDefaultOff();
    void OnExit();
    void OnSupportInfo();
    void OnProductWebPage();
    void OnListUsers();
    void OnRunningPrograms();
    void OnMessageLog();
    // The larger commands, each in a file of its own.
    void OnSendMessage();
    void OnShutdownSystem();
    void OnRemoveUser();
    void OnStationCheck();
    void OnStationSettings();
    void OnUpdateLaunchStation(CCmdUI* item);
    void OnUpdateStopStation(CCmdUI* item);
    void OnUpdateAutoLaunchOn(CCmdUI* item);
    void OnUpdateAutoLaunchOff(CCmdUI* item);
    void OnUpdateShutdownDefaultOn(CCmdUI* item);
    void OnUpdateShutdownDefaultOff(CCmdUI* item);
    void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    int m_commandsRunning = 0;
    bool m_closeAsked = false;
};
