// The control center's document: holds nothing; the configuration lives in
// the main window.
#pragma once

#include "document.h"

class CZqDoc : public CDocument {
    DECLARE_DYNCREATE(CZqDoc)
};
