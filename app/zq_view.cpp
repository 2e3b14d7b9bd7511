#include "zq_view.h"

#include "resource_ids.h"

IMPLEMENT_DYNCREATE(CZqView)

CZqView::CZqView() : CFormView(IDD_HOME_FORM) {}

void CZqView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    ResizeParentToFit(FALSE);
}
