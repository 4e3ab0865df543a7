#include "controls/foundation/ComCtlsBase.h"

#include "host/Application.h"
#include "host/Font.h"
#include "host/Form.h"

namespace foundation {

int ShowMessageBox(const std::wstring& text, UINT flags, const std::wstring& title) {
    host::Application& app = host::App();
    HWND owner;
    if (flags & MB_SYSTEMMODAL) owner = GetForegroundWindow();
    else if (host::Form* form = app.ActiveForm(); form && form->hWnd()) owner = form->hWnd();
    else owner = GetActiveWindow();
    std::wstring caption = title.empty() ? app.Title() : title;
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);  // 40 bytes
    params.hwndOwner = owner;
    params.hInstance = app.hInstance();
    params.lpszText = text.c_str();
    params.lpszCaption = caption.c_str();
    params.dwStyle = flags;
    return MessageBoxIndirectW(&params);
}

host::UniqueFont CreateControlFont(const host::FontDesc& font) { return host::CreateGdiFont(font); }

}  // namespace foundation
