// The home view: the form with the everyday tasks.
#pragma once

#include "view.h"

class CZqView : public CFormView {
    DECLARE_DYNCREATE(CZqView)

public:
    CZqView();
    void OnInitialUpdate() override;
};
