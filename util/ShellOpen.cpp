// Handing files, folders and addresses to the shell. Neither call reports anything: the shell
// shows its own message where it has one, and the caller has nothing to do about a failure.

#include "util/clsUtil.h"

#include <shellapi.h>

void clsUtil::OpenFile(const std::wstring& FileName, long ShowWindowMode, HWND hWndOwner) const {
    ::ShellExecuteW(hWndOwner, L"open", L"explorer", FileName.c_str(), nullptr, ShowWindowMode);
}

void clsUtil::NavigateWebpage(const std::wstring& URL) const {
    ::ShellExecuteW(nullptr, L"open", URL.c_str(), nullptr, nullptr, SW_SHOW);
}
