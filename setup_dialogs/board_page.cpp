#include "board_page.h"

#include <cstdlib>

#include "data_exchange.h"
#include "resource_ids.h"
#include "resources.h"

namespace {

const int kNameLimit = 31;  // what a board name holds in the registry
// The memory windows a board can be placed at, below the system's own area.
const uint32_t kFirstAddress = 0xC8000;
const uint32_t kAddressEnd = 0xF0000;
const uint32_t kAddressStep = 0x2000;

}  // namespace

std::string AddressText(uint32_t address) {
    return AfxFormat("%XH", address);
}

BEGIN_MESSAGE_MAP(CBoardPage, CPropertyPage)
ON_CBN_SELCHANGE(IDC_BOARD_ADDRESS, OnAddressChange)
END_MESSAGE_MAP()

CBoardPage::CBoardPage(SystemConfig& model, int index, bool zeltoEdition)
    : CPropertyPage(IDD_BOARD_PAGE), board(model.boards[index]), boardIndex(index), model_(model) {
    tabTitle = AfxFormat(AfxLoadString(IDS_BOARD_TAB).c_str(), index + 1);
    SetTitle(tabTitle);
    nameText = zeltoEdition ? AfxLoadString(IDS_ZELTO_BOARD_NAME) : board.boardName;
    addressText = AddressText(board.memoryLocation);
}

void CBoardPage::DoDataExchange(CDataExchange* exchange) {
    DDX_CBString(exchange, IDC_BOARD_ADDRESS, addressText);
    DDX_Text(exchange, IDC_BOARD_NAME, nameText);
    DDV_MaxChars(exchange, nameText, kNameLimit);
}

BOOL CBoardPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    HWND list = GetDlgItem(IDC_BOARD_ADDRESS);
    // These boards take no memory window.
    if (nameText.find("PD-1") != std::string::npos) {
        EnableWindow(list, FALSE);
        return TRUE;
    }
    std::string automatic = AfxLoadString(IDS_ADDRESS_AUTOMATIC);
    ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(automatic.c_str()));
    if (addressText == "0H") ::SendMessageA(list, CB_SETCURSEL, 0, 0);
    for (uint32_t address = kFirstAddress; address < kAddressEnd; address += kAddressStep) {
        if (TakenByOtherBoard(address)) continue;
        std::string text = AddressText(address);
        LRESULT item = ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (item >= 0 && text == addressText) ::SendMessageA(list, CB_SETCURSEL, item, 0);
    }
    ::SetFocus(list);
    return FALSE;
}

bool CBoardPage::TakenByOtherBoard(uint32_t address) const {
    for (const BoardConfig& other : model_.boards) {
        if (&other == &board) continue;
        if (other.physicalLocation == address && other.boardName.find("PA-") != std::string::npos) return true;
    }
    return false;
}

void CBoardPage::OnAddressChange() {
    SetModified(TRUE);
}

void CBoardPage::OnOK() {
    board.boardName = nameText;
    if (addressText.empty()) {
        // Nothing chosen (a stored address not among the entries, a board
        // without a memory window): the stored address stays.
    } else if (addressText == AfxLoadString(IDS_ADDRESS_AUTOMATIC)) {
        board.memoryLocation = 0;
    } else {
        // The trailing H is not a hexadecimal digit, so it ends the number.
        board.memoryLocation = static_cast<uint32_t>(std::strtoul(("0x" + addressText).c_str(), nullptr, 16));
    }
    model_.SaveBoardsAndStations();
}
