// The control gallery: every library control on a page of its own, with switches for its
// properties and a log of its events. An argument names the page to open first
// ("Gallery.exe CheckBoxW").
#include "controls/foundation/VisualStyles.h"
#include "gallery/FrmGallery.h"
#include "host/Application.h"

#include <commctrl.h>
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    InitCommonControls();
    foundation::StartVisualStyles();
    host::App().Title(L"控件库画廊");
    gallery::FrmGallery index;
    index.Show();
    std::wstring page = commandLine ? commandLine : L"";
    while (!page.empty() && (page.back() == L' ' || page.back() == L'"')) page.pop_back();
    while (!page.empty() && (page.front() == L' ' || page.front() == L'"')) page.erase(0, 1);
    if (!page.empty()) index.ShowPage(page);
    return host::App().Run();
}
