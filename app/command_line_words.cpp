#include "control_center_app.h"

namespace {

bool IsWord(const char* param, std::initializer_list<const char*> words) {
    for (const char* word : words) {
        if (lstrcmpiA(param, word) == 0) return true;
    }
    return false;
}

}  // namespace

void CControlCenterCommandLineInfo::ParseParam(const char* param, bool isSwitch, bool isLast) {
    if (IsWord(param, {"AutoLaunch", "A"}))
        m_bAutoLaunch = TRUE;
    else if (IsWord(param, {"Help", "H", "?"}))
        m_bHelp = TRUE;
    else if (IsWord(param, {"Register", "R"}))
        m_bRegister = TRUE;
    else if (IsWord(param, {"Uninstall", "U"}))
        m_bUninstall = TRUE;
    else if (IsWord(param, {"BlueScreen", "B"}))
        m_bBlueScreen = TRUE;
    else
        CCommandLineInfo::ParseParam(param, isSwitch, isLast);
}
