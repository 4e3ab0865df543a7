// The application object: title, instance handle, previous-instance test, the open forms and the
// one message loop with its key routing.
//
// Routing, per message taken off the queue:
//   0. a left press on a control whose DragMode is 1 begins its drag (ClassicDrag.h) and goes
//      no further;
//   1. key messages go first to the form's active object (Form::ActiveObject), or without one to the
//      focused control's IOleInPlaceActiveObjectVB_TranslateAccelerator;
//      handled with S_OK (0) ends the message there; handled with S_FALSE (1) skips step 2, so
//      the key reaches the control's window as usual;
//   2. then to the form (Form::PreTranslateMessage): Tab / Shift+Tab through TabIndex order,
//      arrow keys between controls that do not want them, Return and Escape for the Default and
//      Cancel buttons (unless the control eats them, IOleControlVB_GetControlInfo), mnemonics;
//   3. otherwise TranslateMessage and DispatchMessage.
// Tab reaches the focused control as a key-down first (so its KeyDown handler runs); the form
// moves the focus only when the handler has not moved it already.
#pragma once

#include "host/Handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace host {

class Form;

// A window that routes its own messages (a modeless property sheet): offered every message the
// loop takes, before the forms' key routing; true when it took the message.
class MessageFilter {
public:
    virtual bool PreTranslateMessage(MSG& msg) = 0;

protected:
    ~MessageFilter() = default;
};

// What the focused control of a form answered to a key message (routing step 1).
enum class KeyAnswer {
    Unanswered,  // the form may use the key for navigation
    Claimed,     // the control's own key: deliver it to the window as usual
    Consumed,    // the control sent it on itself: the message ends here
};

class Application {
public:
    // Title defaults to the executable's base name; the instance handle is the executable's.
    const std::wstring& Title() const { return title_; }
    void Title(std::wstring title) { title_ = std::move(title); }
    HINSTANCE hInstance() const { return instance_; }
    // The program's project name: the source of every error the host raises, and the first
    // half of a control's programmatic identifier ("<project>.TextBoxW", ControlRegistry.h).
    // Defaults to the executable's base name.
    const std::wstring& ProjectName() const { return projectName_; }
    void ProjectName(std::wstring name) { projectName_ = std::move(name); }
    void hInstance(HINSTANCE h) { instance_ = h; }

    // Whether another process of this program already ran when this one first asked. The first
    // call claims the instance name for this process; the answer is kept from then on.
    bool PrevInstance();
    // The name the previous-instance test uses; defaults to the executable's base name. Set it
    // before the first PrevInstance call.
    void InstanceName(std::wstring name) { instanceName_ = std::move(name); }

    // Runs the message loop until no form is loaded (or Quit). Returns the exit code.
    int Run();
    // Takes and routes one message; false when none was waiting (`wait` false) or WM_QUIT arrived.
    bool PumpOne(bool wait);
    // Routes a message as the loop would (key routing, then translate and dispatch).
    void RouteMessage(MSG& msg);
    // Step 1 of the key routing for a form: the key offered to its active object or focused
    // control.
    KeyAnswer OfferKeyToControl(Form& form, MSG& msg);
    // Filters stay registered while their windows live; borrowed.
    void AddMessageFilter(MessageFilter& filter);
    void RemoveMessageFilter(MessageFilter& filter);
    // Pumps until `done` holds or `timeoutMs` passed; returns whether `done` held.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
    void Quit(int code = 0);

    // Forms register themselves while loaded.
    void AddForm(Form& form);
    void RemoveForm(Form& form);
    const std::vector<Form*>& Forms() const { return forms_; }
    // The form whose window is active (or the last one shown), null when none.
    Form* ActiveForm() const;
    Form* FormOfWindow(HWND hwnd) const;

private:
    // WH_CBT hook of the UI thread while a form is loaded: lets the form run its validation
    // before the focus moves between two of its controls, and refuse the move.
    static LRESULT CALLBACK FocusHookProc(int code, WPARAM wParam, LPARAM lParam);
    friend Application& App();
    Application();
    void EnsureFocusHook();

    std::wstring title_;
    std::wstring projectName_;
    std::wstring instanceName_;
    HINSTANCE instance_;
    UniqueKernelHandle instanceMutex_;
    bool prevInstanceKnown_ = false;
    bool prevInstance_ = false;
    std::vector<Form*> forms_;  // borrowed: forms register while loaded
    std::vector<MessageFilter*> filters_;  // borrowed
    UniqueHook focusHook_;
    bool quit_ = false;
    int exitCode_ = 0;
};

// The process's application object.
Application& App();

// Claims a process-wide instance name (a named mutex the claim owns); true when another holder
// already had it, i.e. another instance runs.
bool ClaimInstanceName(const std::wstring& name, UniqueKernelHandle& claim);

}  // namespace host
