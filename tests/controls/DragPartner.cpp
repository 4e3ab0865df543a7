// The other program of the cross-process drag tests: a window of its own process whose edit
// window takes part in OLE drag and drop with the test's boxes.
//
//   drag_partner richedit   a plain window filled by a rich edit control (RichEdit20W), which
//                           registers itself as a drop target and drag source where the
//                           platform's rich edit does so; the window's property
//                           RichEditTakesDrops says whether it did (1) or not (2)
//   drag_partner textbox    a form of ours with one TextBoxW that drags (OLEDragMode 1) and
//                           takes drops (OLEDropMode 2)
//
// The test finds the window by its caption (PartnerCaption below), reads and sets the text and
// the selection with messages across the process boundary, and closes it with WM_CLOSE.
#include "ControlsTestSupport.h"

#include "host/Application.h"
#include "host/ComObject.h"
#include "host/DesignData.h"
#include "host/DragDrop.h"

#include <ole2.h>
#include <richedit.h>
#include <windows.h>

#include <memory>
#include <string>

namespace {

constexpr wchar_t RichEditCaption[] = L"拖放伙伴 RichEdit";

const wchar_t* kPartnerForm = LR"(Begin Form Partner
   Caption = "拖放伙伴 TextBoxW"
   StartUpPosition = 0
   Left = 9000
   Top = 600
   ClientWidth = 5400
   ClientHeight = 1800
   Begin TextBoxW box
      OLEDragMode = 1
      OLEDropMode = 2
      Left = 300
      Top = 300
      Width = 4800
      Height = 600
   End
End
)";

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            if (HWND edit = GetWindow(hwnd, GW_CHILD)) MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_DESTROY:
            RemovePropW(hwnd, L"RichEditTakesDrops");
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

// Stands in for a drop target only to learn whether the window already has one.
class NoDrops final : public host::ComObject<IDropTarget> {
public:
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override { return Refuse(effect); }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return Refuse(effect); }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override { return Refuse(effect); }

private:
    static HRESULT Refuse(DWORD* effect) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
};

bool HasDropTarget(HWND window) {
    auto* probe = new NoDrops;
    HRESULT hr = RegisterDragDrop(window, probe);
    if (SUCCEEDED(hr)) RevokeDragDrop(window);
    probe->Release();
    return hr == DRAGDROP_E_ALREADYREGISTERED;
}

int RunRichEdit(HINSTANCE instance) {
    if (!LoadLibraryW(L"riched20.dll")) return 2;
    WNDCLASSW wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"DragPartnerFrame";
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, wc.lpszClassName, RichEditCaption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 40, 360,
                                 120, nullptr, nullptr, instance, nullptr);
    if (!frame) return 3;
    RECT rc{};
    GetClientRect(frame, &rc);
    HWND edit = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, rc.right,
                                rc.bottom, frame, nullptr, instance, nullptr);
    if (!edit) return 4;
    // a face with Chinese glyphs, so that a person watching sees the text
    LOGFONTW lf{};
    lf.lfHeight = -14;
    lf.lfCharSet = GB2312_CHARSET;
    lstrcpyW(lf.lfFaceName, L"SimSun");
    HFONT font = CreateFontIndirectW(&lf);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetPropW(frame, L"RichEditTakesDrops", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(HasDropTarget(edit) ? 1 : 2)));
    ShowWindow(edit, SW_SHOW);  // the test waits for this: the property is there by then
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DeleteObject(font);
    return 0;
}

int RunTextBox() {
    ctltest::RegisterLibraryControls();
    host::Form form(host::ParseDesign(kPartnerForm));
    form.Show();
    return host::App().Run();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (FAILED(OleInitialize(nullptr))) return 1;
    std::wstring mode = argc > 1 ? argv[1] : L"";
    int code = mode == L"richedit" ? RunRichEdit(GetModuleHandleW(nullptr)) : mode == L"textbox" ? RunTextBox() : 1;
    OleUninitialize();
    return code;
}
