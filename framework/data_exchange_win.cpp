#include "framework/data_exchange_win.h"

#include <string>

#include "framework/float_text.h"
#include "framework/wnd_win.h"

namespace {

void TellUser(CDataExchange* pDX, const std::string& text) {
    pDX->m_pDlgWnd->MessageBox(text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

HWND CDataExchange::PrepareCtrl(int id) {
    m_hLastControl = m_pDlgWnd->GetDlgItem(id);
    m_bLastIsEdit = false;
    return m_hLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    PrepareCtrl(id);
    m_bLastIsEdit = true;
    return m_hLastControl;
}

void CDataExchange::Fail() {
    if (m_hLastControl != nullptr) {
        ::SetFocus(m_hLastControl);
        if (m_bLastIsEdit) {
            ::SendMessageA(m_hLastControl, EM_SETSEL, 0, -1);
        }
    }
    throw Failure{};
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd != nullptr) {
        return;
    }
    control.Attach(pDX->PrepareCtrl(id));
    pDX->m_attachedControls.push_back(&control);
}

void DDX_Text(CDataExchange* pDX, int id, float& value) {
    HWND control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(control, FloatToDialogText(value).c_str());
        return;
    }
    const auto number = DialogTextToFloat(pDX->m_pDlgWnd->GetDlgItemText(id));
    if (!number) {
        TellUser(pDX, "Please enter a number.");
        pDX->Fail();
    }
    value = *number;
}

void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minValue, float maxValue) {
    if (!pDX->m_bSaveAndValidate) {
        return;
    }
    if (!(value >= minValue && value <= maxValue)) {
        TellUser(pDX, "Please enter a number between " + FloatToDialogText(minValue) + " and " +
                          FloatToDialogText(maxValue) + ".");
        pDX->Fail();
    }
}
