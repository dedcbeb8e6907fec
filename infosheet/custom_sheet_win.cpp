#include "infosheet/custom_sheet_win.h"

BOOL CCustomSht::OnInitDialog() {
    // Taken for modal during the base initialisation, the sheet keeps the
    // buttons that a modeless one loses.
    m_bModeless = false;
    const BOOL result = CPropertySheet::OnInitDialog();
    m_bModeless = true;
    return result;
}
