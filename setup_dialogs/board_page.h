// The board sheet: one page per marked adapter board, with the board's name
// and the memory address it is to use. OK and Apply write the model and the
// registry at once.
#pragma once

#include <string>

#include "property_sheet.h"
#include "system_config.h"

class CBoardSheet : public CPropertySheet {
public:
    using CPropertySheet::CPropertySheet;
};

class CBoardPage : public CPropertyPage {
public:
    // zeltoEdition: the two-board edition names its boards with its own text.
    CBoardPage(SystemConfig& model, int boardIndex, bool zeltoEdition);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    void OnOK() override;

    std::string addressText;  // as the list shows it: "D0000H", or the automatic choice
    std::string nameText;
    BoardConfig& board;
    std::string tabTitle;
    int boardIndex;

protected:
    void OnAddressChange();
    // Whether another board that is named a "PA-" board sits at the address.
    bool TakenByOtherBoard(uint32_t address) const;

    SystemConfig& model_;

    DECLARE_MESSAGE_MAP()
};

// An address as the list shows it: upper-case hexadecimal followed by H.
std::string AddressText(uint32_t address);
