#pragma once

// Dialogs from resource templates. DoModal runs the dialog's own modal loop,
// so that every message passes PreTranslateMessage: the open modeless
// property sheets get their keyboard messages first, then the dialog.

#include <windows.h>

#include <vector>

#include "framework/wnd_win.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    // `parent` null: the application's main window owns a modal run.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override = default;

    // Creates the dialog from its template, disables the owner and runs the
    // modal loop until EndDialog; then destroys the window (DestroyWindow)
    // and returns the result given to EndDialog, or -1 when the dialog
    // cannot be created.
    virtual INT_PTR DoModal();

    // Creates the dialog from its template as a modeless window owned by
    // `owner` (not disabled) and shows it; false when the window cannot be
    // made. The modal loop running the program offers the window its
    // keyboard messages. Closing it (OnCancel, the close box) destroys the
    // window; the object stays and may Create again.
    bool Create(HWND owner);
    bool IsModeless() const { return m_bModeless; }

    // Ends the modal run with `result` once the current message is handled.
    void EndDialog(int result);

    // Runs DoDataExchange: from the controls into the members when
    // `saveAndValidate`, else the other way round. False when a control's
    // text failed to convert or validate (the user has been told).
    bool UpdateData(bool saveAndValidate = true);

protected:
    // Runs a non-validating data exchange; true: the system sets the focus.
    virtual BOOL OnInitDialog();
    // IDOK: validating exchange, then EndDialog(IDOK).
    virtual void OnOK();
    // IDCANCEL (Escape, the close box): EndDialog(IDCANCEL).
    virtual void OnCancel();
    // A WM_COMMAND: runs the handler that the message maps list for it.
    // True when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void DoDataExchange(CDataExchange* pDX);
    // Offers `msg` to the open modeless property sheets, then to this
    // dialog's keyboard handling; true when one of them took it.
    virtual bool PreTranslateMessage(MSG* msg);

    const MessageMap* GetMessageMap() const override;

    // The dialog procedure of every CDialog: WM_INITDIALOG carries the
    // object, later messages find it in DWLP_USER.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR HandleMessage(CDialog* dialog, HWND hWnd, UINT message, WPARAM wParam,
                                 LPARAM lParam) noexcept;
    void OnNcDestroy() noexcept;

    bool m_bModeless = false;
    bool m_bEndModal = false;
    int m_nModalResult = -1;
    // Controls attached by DDX_Control; they let go of their handles when the
    // dialog's window is destroyed.
    std::vector<CWnd*> m_attachedControls;
};
