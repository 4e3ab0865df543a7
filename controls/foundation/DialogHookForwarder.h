// Hook and callback procedures for the Win32 common dialogs: each finds the common-dialog object
// (an ISubclass) the caller put into the dialog structure's custom data and hands it the dialog's
// messages with a fixed negative reference number, so the object's one Message sees them beside
// the messages of the windows it subclassed.
//
//   procedure             custom data of       messages          reference  answer
//   OpenFileDialog        OPENFILENAMEW (64)   all               -1         the client's result
//   OpenFileOldStyleDialog OPENFILENAMEW (64)  all              -1001      "
//   SaveFileDialog        OPENFILENAMEW (64)   all               -2         "
//   SaveFileOldStyleDialog OPENFILENAMEW (64)  all              -1002      "
//   ColorDialog           CHOOSECOLORW (24)    all               -3         "
//   FontDialog            CHOOSEFONTW (28)     all               -4         "
//   PrintDialog           PRINTDLGW (38)       WM_INITDIALOG     -5         the client's result there, else 0
//   PageSetupDialog       PAGESETUPDLGW (64)   WM_INITDIALOG     -7         "
//   BrowseCallbackProc    its lpData           all (wParam 0)    -8         the client's result
//   FindDialog            FINDREPLACEW (28)    WM_INITDIALOG     -9         1 there, else 0
//   ReplaceDialog         FINDREPLACEW (28)    WM_INITDIALOG     -10        "
// The dialogs that forward every message keep the pointer in a window property of the hook
// window from WM_INITDIALOG on. Without a client nothing is called and the fixed answer stands.
#pragma once

#include "controls/foundation/ISubclass.h"

#include <windows.h>

namespace foundation::DialogHookForwarder {

inline constexpr LONG_PTR OpenFileRef = -1, OpenFileOldStyleRef = -1001, SaveFileRef = -2, SaveFileOldStyleRef = -1002,
                          ChooseColorRef = -3, ChooseFontRef = -4, PrintRef = -5, PageSetupRef = -7, BrowseRef = -8,
                          FindRef = -9, ReplaceRef = -10;

UINT_PTR CALLBACK OpenFileDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK OpenFileOldStyleDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK SaveFileDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK SaveFileOldStyleDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK ColorDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK FontDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK PrintDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK PageSetupDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
int CALLBACK BrowseCallbackProc(HWND hwnd, UINT msg, LPARAM lParam, LPARAM lpData);
UINT_PTR CALLBACK FindDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK ReplaceDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The window property each forwarding-every-message procedure keeps its client under.
inline constexpr const wchar_t* OpenFileProp = L"ComCtlsCdlOFN1CallbackProcCustData";
inline constexpr const wchar_t* OpenFileOldStyleProp = L"ComCtlsCdlOFN1CallbackProcOldStyleCustData";
inline constexpr const wchar_t* SaveFileProp = L"ComCtlsCdlOFN2CallbackProcCustData";
inline constexpr const wchar_t* SaveFileOldStyleProp = L"ComCtlsCdlOFN2CallbackProcOldStyleCustData";
inline constexpr const wchar_t* ChooseColorProp = L"ComCtlsCdlCCCallbackProcCustData";
inline constexpr const wchar_t* ChooseFontProp = L"ComCtlsCdlCFCallbackProcCustData";

}  // namespace foundation::DialogHookForwarder
