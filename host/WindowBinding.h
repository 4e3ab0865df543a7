// The one way a window of ours finds its object: the object comes in CREATESTRUCTW's
// lpCreateParams, is kept in GWLP_USERDATA until WM_NCDESTROY (when its owner lets the handle
// go: the system has destroyed it), and a failing handler stops at the system boundary.
#pragma once

#include <windows.h>

#include "host/Error.h"

namespace host {

// T has `UniqueWindow hwnd_` and `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`, and makes this
// function its friend.
template <typename T>
LRESULT RouteToObject(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_.Reset(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        self->hwnd_.Release();
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const Error&) {
        // a handler that failed (paint, resize, timer, a form's event) must not unwind through
        // the system
        return 0;
    }
}

}  // namespace host
