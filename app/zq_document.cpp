#include "zq_document.h"

IMPLEMENT_DYNCREATE(CZqDoc)
