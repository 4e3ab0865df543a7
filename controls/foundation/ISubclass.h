// The one interface through which every control (and the common-dialog class) receives the
// messages of the windows it subclassed. "Interface function to forward window messages."
//
// A client switches on dwRefData (the number it gave InstallSubclass) to pick the window
// procedure of the matching window, and returns that procedure's result. A message it does not
// consume gets CallDefaultProc. An exception escaping ISubclass_Message is swallowed by the
// dispatcher, which then answers the value last stored with StoreMessageResult (0 if none).
#pragma once

#include <windows.h>

namespace foundation {

// {DAD29544-BD9C-4C9C-AAD9-1FD722138B12}
inline constexpr GUID IID_ISubclass = {0xDAD29544, 0xBD9C, 0x4C9C, {0xAA, 0xD9, 0x1F, 0xD7, 0x22, 0x13, 0x8B, 0x12}};

class ISubclass {
public:
    // Registers the object as a live client: the dispatcher only calls clients that still exist.
    ISubclass();
    // A client must remove its subclasses before it ends; one that did not is forgotten here, so a
    // late message gets the default handling instead of reaching a dead object.
    virtual ~ISubclass();
    ISubclass(const ISubclass&) = delete;
    ISubclass& operator=(const ISubclass&) = delete;

    // The interface's one operation, as the dispatcher calls it.
    LRESULT Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) {
        return ISubclass_Message(hwnd, wMsg, wParam, lParam, dwRefData);
    }

    // Whether a pointer is a live client (the dispatcher's test before every call).
    static bool IsLive(const ISubclass* client);

    LRESULT StoredMessageResult() const { return storedResult_; }
    void StoreMessageResult(LRESULT r) { storedResult_ = r; }

protected:
    virtual LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) = 0;

private:
    LRESULT storedResult_ = 0;
};

}  // namespace foundation
