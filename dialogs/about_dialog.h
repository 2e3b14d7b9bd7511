// The about box: a general page with the product's texts, the licence
// values from the registry and the time since Windows started, and a page
// with each station driver's loaded and file versions. A right click scrolls
// a further text through the page, line by line.
#pragma once

#include <string>

#include "dialog.h"
#include "version_info.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    BOOL OnInitDialog() override;

    bool showDriversNext = false;

protected:
    void ShowPage();
    void OnToggle();
    LRESULT OnRightButton(WPARAM wParam, LPARAM lParam);
    std::string GeneralPage();
    std::string DriverPage();

    VersionReader versions_;

    DECLARE_MESSAGE_MAP()
};
