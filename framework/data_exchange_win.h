#pragma once

// Dialog data exchange: DoDataExchange pairs each control with a member, in
// both directions, and checks ranges when saving. A conversion or range
// failure tells the user, puts the focus back on the control and ends the
// exchange (UpdateData returns false).

#include <windows.h>

#include <vector>

class CWnd;

class CDataExchange {
public:
    // `attachedControls`: the dialog's list of the controls DDX_Control
    // binds, which let go of their handles when its window is destroyed.
    CDataExchange(CWnd& dialog, std::vector<CWnd*>& attachedControls, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate),
          m_pDlgWnd(&dialog),
          m_attachedControls(attachedControls) {}

    // The control `id` of the dialog, remembered as the one a failure
    // returns the focus to.
    HWND PrepareCtrl(int id);
    // The same for an edit box, whose text a failure selects.
    HWND PrepareEditCtrl(int id);

    // Ends the exchange: focus (and selection) back to the last prepared
    // control. The caller has told the user why.
    [[noreturn]] void Fail();

    // Thrown by Fail; caught by CDialog::UpdateData.
    struct Failure {};

    const bool m_bSaveAndValidate;
    CWnd* const m_pDlgWnd;

private:
    friend void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

    std::vector<CWnd*>& m_attachedControls;
    HWND m_hLastControl = nullptr;
    bool m_bLastIsEdit = false;
};

// Binds `control` to the dialog's control `id` (once).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// Exchanges `value` with the text of edit box `id`: shown with at most six
// significant digits; when saving, the whole text (blanks around it aside)
// must be a number, else the user is asked for one.
void DDX_Text(CDataExchange* pDX, int id, float& value);

// When saving: `value` must lie between `minValue` and `maxValue`, both
// included, else the user is told the range.
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minValue, float maxValue);
