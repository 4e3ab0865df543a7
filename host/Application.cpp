#include "host/Application.h"

#include "host/ClassicDrag.h"
#include "host/Error.h"
#include "host/Form.h"

#include <algorithm>

namespace host {

namespace {

std::wstring ExecutableBaseName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    if (size_t slash = s.find_last_of(L"\\/"); slash != std::wstring::npos) s = s.substr(slash + 1);
    if (size_t dot = s.rfind(L'.'); dot != std::wstring::npos) s = s.substr(0, dot);
    return s;
}

bool IsKeyMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

int KeyboardShift() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace

Application& App() {
    static Application app;
    return app;
}

Application::Application()
    : title_(ExecutableBaseName()), projectName_(title_), instanceName_(title_), instance_(GetModuleHandleW(nullptr)) {}

bool ClaimInstanceName(const std::wstring& name, UniqueKernelHandle& claim) {
    std::wstring mutexName = L"Local\\" + name + L".Instance";
    for (wchar_t& c : mutexName)
        if (c == L'/' || (c == L'\\' && &c != &mutexName[5])) c = L'_';
    claim.Reset(CreateMutexW(nullptr, FALSE, mutexName.c_str()));
    return claim && GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Application::PrevInstance() {
    if (!prevInstanceKnown_) {
        prevInstance_ = ClaimInstanceName(instanceName_, instanceMutex_);
        prevInstanceKnown_ = true;
    }
    return prevInstance_;
}

int Application::Run() {
    quit_ = false;
    while (!quit_ && !forms_.empty())
        if (!PumpOne(true)) break;
    return exitCode_;
}

bool Application::PumpOne(bool wait) {
    MSG msg;
    if (wait) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r <= 0) {
            quit_ = true;
            exitCode_ = r == 0 ? static_cast<int>(msg.wParam) : -1;
            return false;
        }
    } else {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
        if (msg.message == WM_QUIT) {
            quit_ = true;
            exitCode_ = static_cast<int>(msg.wParam);
            return false;
        }
    }
    RouteMessage(msg);
    return true;
}

void Application::RouteMessage(MSG& msg) {
    try {
        if (classicdrag::OfferMessage(msg)) return;
        // A copy: a filter whose window closes takes itself off while it is asked.
        std::vector<MessageFilter*> filters = filters_;
        for (MessageFilter* f : filters)
            if (std::find(filters_.begin(), filters_.end(), f) != filters_.end() && f->PreTranslateMessage(msg)) return;
        if (IsKeyMessage(msg.message)) {
            if (Form* form = FormOfWindow(msg.hwnd)) {
                KeyAnswer answer = OfferKeyToControl(*form, msg);
                if (answer == KeyAnswer::Consumed) return;
                // A key the control claimed (S_FALSE: "mine, deliver it as usual") is no navigation key.
                if (answer == KeyAnswer::Unanswered && form->PreTranslateMessage(msg)) return;
            }
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    } catch (const Error&) {
        // Failures of event handlers end with the message; the loop goes on.
    }
}

KeyAnswer Application::OfferKeyToControl(Form& form, MSG& msg) {
    IOleInPlaceActiveObjectVB* answer = form.ActiveObject();
    if (!answer)
        if (ControlSite* site = form.ActiveControl()) answer = &site->GetControl();
    if (!answer) return KeyAnswer::Unanswered;
    bool handled = false;
    long retVal = S_FALSE;
    answer->IOleInPlaceActiveObjectVB_TranslateAccelerator(handled, retVal, msg.message, msg.wParam, msg.lParam,
                                                           KeyboardShift());
    if (!handled) return KeyAnswer::Unanswered;
    return retVal == S_OK ? KeyAnswer::Consumed : KeyAnswer::Claimed;
}

void Application::AddMessageFilter(MessageFilter& filter) {
    if (std::find(filters_.begin(), filters_.end(), &filter) == filters_.end()) filters_.push_back(&filter);
}

void Application::RemoveMessageFilter(MessageFilter& filter) { std::erase(filters_, &filter); }

bool Application::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        if (!PumpOne(false)) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void Application::Quit(int code) { PostQuitMessage(code); }

void Application::AddForm(Form& form) {
    if (std::find(forms_.begin(), forms_.end(), &form) == forms_.end()) forms_.push_back(&form);
    EnsureFocusHook();
}

void Application::RemoveForm(Form& form) {
    std::erase(forms_, &form);
    if (forms_.empty()) focusHook_.Reset();
}

Form* Application::FormOfWindow(HWND hwnd) const {
    if (!hwnd) return nullptr;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    for (Form* f : forms_)
        if (f->hWnd() && (f->hWnd() == root || f->hWnd() == hwnd)) return f;
    return nullptr;
}

Form* Application::ActiveForm() const {
    if (Form* f = FormOfWindow(GetActiveWindow())) return f;
    return forms_.empty() ? nullptr : forms_.back();
}

void Application::EnsureFocusHook() {
    if (!focusHook_) focusHook_.Reset(SetWindowsHookExW(WH_CBT, &Application::FocusHookProc, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK Application::FocusHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SETFOCUS) {
        HWND to = reinterpret_cast<HWND>(wParam), from = reinterpret_cast<HWND>(lParam);
        Form* form = App().FormOfWindow(to);
        if (form && from && App().FormOfWindow(from) == form && !form->BeforeFocusChange(from, to)) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace host
