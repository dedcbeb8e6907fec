#pragma once

// Property sheets and their pages over the system's PropertySheet API.
//
// A page is a dialog on its own template; the system creates its window when
// its tab is first selected and then sends it WM_INITDIALOG, which reaches
// OnInitDialog as in any CDialog. A sheet is created modeless: the system
// builds the window from its own template, the sheet object subclasses it
// while it is being created, so that OnInitDialog, OnCommand and
// PostNcDestroy run as for the framework's own windows. The modal loop of
// CDialog gives the open sheets their keyboard messages (modeless_registry).
//
// As in the framework this layer stands in for, sheets and pages start with
// the Help button asked for (PSH_HASHELP, PSP_HASHELP); clear the flags in
// m_psh and m_psp before Create to go without it.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/dialog_win.h"

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId);
    ~CPropertyPage() override;

    // What the sheet hands to the system for this page. The page object is
    // in lParam; the template gives the tab its title.
    PROPSHEETPAGEW m_psp{};

    // Page objects alive in the process.
    static int LiveCount();

protected:
    // The dialog's initialisation; then labels that the page's font makes
    // wider than their boxes are fitted (fit_labels.h).
    BOOL OnInitDialog() override;
    // OK and Cancel belong to the sheet; a page ends nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    // WM_INITDIALOG of a page carries the system's copy of m_psp.
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

class CPropertySheet : public CWnd {
public:
    // The sheet's buttons, by the ids of the system's sheet template.
    static constexpr int kApplyButtonId = 0x3021;

    // `caption` is the sheet's title; `selectPage` the index of the page
    // shown first; `parent` the owner that Create takes when given none.
    CPropertySheet(const char* caption, CWnd* parent = nullptr, UINT selectPage = 0);
    ~CPropertySheet() override;

    // Adds a page after the others. The sheet does not own it.
    void AddPage(CPropertyPage* page);

    // Creates the sheet as a modeless window owned by `parent`, else by the
    // constructor's parent (none when both are null). `style` (DWORD)-1 is the default style of a
    // modeless sheet: a visible pop-up with caption, system menu and dialog frame (and the
    // context-help button when PSH_HASHELP is set); `exStyle` is added to
    // the template's. Only the start page gets its window here, each other
    // page its own when first shown. False when
    // the window could not be made; a window that was made and destroyed
    // again has run PostNcDestroy.
    BOOL Create(CWnd* parent = nullptr, DWORD style = static_cast<DWORD>(-1), DWORD exStyle = 0);

    PROPSHEETHEADERW m_psh{};

    // Sheet objects alive in the process.
    static int LiveCount();

protected:
    // Runs once the system has initialised the sheet (tab control, buttons,
    // start page). The base version hides the button row of a modeless
    // sheet, whose OK and Cancel would otherwise leave it open without a
    // page, and shortens the window by the row's height. Returns what the
    // system's initialisation returned.
    virtual BOOL OnInitDialog();
    // A WM_COMMAND to the sheet: runs the handler that the message maps list
    // for it. True when handled; otherwise the system's sheet handles it.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    // Set by Create; OnInitDialog of the base hides the buttons only while
    // it is set.
    bool m_bModeless = false;

private:
    static LRESULT CALLBACK SheetWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);

    void Subclass(HWND hWnd);
    void HideButtonRow();
    // Destroys a modeless sheet that the system has closed (its current
    // page is gone).
    void DestroyIfClosed();

    std::wstring m_strCaption;
    CWnd* m_pParentWnd;
    std::vector<CPropertyPage*> m_pages;
    DWORD m_dwCreateStyle = 0;
    DWORD m_dwCreateExStyle = 0;
    WNDPROC m_pfnSuper = nullptr;
    BOOL m_bSystemInit = TRUE;
    bool m_bInitialised = false;
};

// The message of live_objects.h that asks for the counts of sheet and page
// objects, and the answer to give (EncodeLiveObjects).
UINT LiveSheetObjectsMessage();
LRESULT LiveSheetObjectsReply();
