// The common dialogs' hook procedures on real dialogs and real windows, and the print dialog's
// callback object.
#include "controls/foundation/DialogHookForwarder.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/PrintDialogCallbackObject.h"
#include "host/Application.h"
#include "host/Error.h"
#include "host/Handles.h"

#include <gtest/gtest.h>
#include <commdlg.h>

#include <cstring>
#include <functional>
#include <vector>

using namespace foundation;
namespace fwd = foundation::DialogHookForwarder;

namespace {

struct Seen {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LONG_PTR ref;
};

class Recorder : public ISubclass {
public:
    std::vector<Seen> seen;
    LRESULT answer = 0;
    std::function<void(HWND, UINT)> onMessage;
    bool fail = false;

protected:
    LRESULT ISubclass_Message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR ref) override {
        seen.push_back({hwnd, msg, wParam, lParam, ref});
        if (onMessage) onMessage(hwnd, msg);
        if (fail) host::Raise(5);
        return answer;
    }
};

host::UniqueWindow PlainWindow() {
    return host::UniqueWindow(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
}

// The packed print structure as the dialog hands it over, with the client at byte 38.
std::vector<BYTE> PrintStructure(ISubclass* client) {
    std::vector<BYTE> bytes(66, 0);
    DWORD size = 66;
    std::memcpy(bytes.data(), &size, 4);
    LPARAM data = reinterpret_cast<LPARAM>(client);
    std::memcpy(bytes.data() + 38, &data, sizeof(data));
    return bytes;
}

}  // namespace

TEST(DialogHookForwarder, ColorDialogForwardsEveryMessageWithItsCode) {
    Recorder client;
    client.onMessage = [](HWND dlg, UINT msg) {
        if (msg == WM_INITDIALOG) PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    };
    COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.lpCustColors = custom;
    cc.Flags = CC_ENABLEHOOK;
    cc.lpfnHook = &fwd::ColorDialog;
    cc.lCustData = reinterpret_cast<LPARAM>(static_cast<ISubclass*>(&client));
    EXPECT_FALSE(ChooseColorW(&cc));
    ASSERT_FALSE(client.seen.empty());
    EXPECT_EQ(client.seen.front().msg, static_cast<UINT>(WM_INITDIALOG));
    bool afterInit = false;
    for (const Seen& s : client.seen) {
        EXPECT_EQ(s.ref, fwd::ChooseColorRef);
        afterInit = afterInit || s.msg == WM_COMMAND;
    }
    EXPECT_TRUE(afterInit) << "messages after WM_INITDIALOG reach the client through the window property";
}

TEST(DialogHookForwarder, ExplorerOpenDialogKeepsItsClientForLaterMessages) {
    Recorder client;
    client.onMessage = [](HWND hook, UINT msg) {
        if (msg == WM_INITDIALOG) PostMessageW(GetParent(hook), WM_COMMAND, IDCANCEL, 0);
    };
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK;
    ofn.lpfnHook = &fwd::OpenFileDialog;
    ofn.lCustData = reinterpret_cast<LPARAM>(static_cast<ISubclass*>(&client));
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    ASSERT_FALSE(client.seen.empty());
    EXPECT_EQ(client.seen.front().msg, static_cast<UINT>(WM_INITDIALOG));
    bool notified = false;
    for (const Seen& s : client.seen) {
        EXPECT_EQ(s.ref, fwd::OpenFileRef);
        notified = notified || s.msg == WM_NOTIFY;
    }
    EXPECT_TRUE(notified) << "the dialog's notifications reach the client after WM_INITDIALOG";
}

TEST(DialogHookForwarder, FindDialogSeesOnlyItsInitAndIsShown) {
    Recorder client;
    client.answer = 0;  // the dialog is shown whatever the client says
    wchar_t what[64] = L"abc";
    host::UniqueWindow owner = PlainWindow();
    FINDREPLACEW fr{};
    fr.lStructSize = sizeof(fr);
    fr.hwndOwner = owner.Get();
    fr.lpstrFindWhat = what;
    fr.wFindWhatLen = 64;
    fr.Flags = FR_ENABLEHOOK;
    fr.lpfnHook = &fwd::FindDialog;
    fr.lCustData = reinterpret_cast<LPARAM>(static_cast<ISubclass*>(&client));
    host::UniqueWindow dialog(FindTextW(&fr));
    ASSERT_TRUE(dialog);
    host::App().PumpUntil([&] { return IsWindowVisible(dialog.Get()) != FALSE; }, 3000);
    EXPECT_TRUE(IsWindowVisible(dialog.Get()));
    SendMessageW(dialog.Get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Find!"));
    ASSERT_EQ(client.seen.size(), 1u);
    EXPECT_EQ(client.seen[0].msg, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(client.seen[0].hwnd, dialog.Get());
    EXPECT_EQ(client.seen[0].ref, fwd::FindRef);
}

TEST(DialogHookForwarder, InitOnlyProceduresAnswerAndZeroDataCallsNobody) {
    host::UniqueWindow w = PlainWindow();
    Recorder client;
    client.answer = 77;
    std::vector<BYTE> print = PrintStructure(&client);
    LPARAM printParam = reinterpret_cast<LPARAM>(print.data());
    EXPECT_EQ(fwd::PrintDialog(w.Get(), WM_INITDIALOG, 0, printParam), 77u);
    EXPECT_EQ(fwd::PrintDialog(w.Get(), WM_COMMAND, 0, printParam), 0u) << "only WM_INITDIALOG is forwarded";
    ASSERT_EQ(client.seen.size(), 1u);
    EXPECT_EQ(client.seen[0].ref, fwd::PrintRef);

    PAGESETUPDLGW ps{};
    ps.lStructSize = sizeof(ps);
    ps.lCustData = reinterpret_cast<LPARAM>(static_cast<ISubclass*>(&client));
    EXPECT_EQ(fwd::PageSetupDialog(w.Get(), WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&ps)), 77u);
    EXPECT_EQ(client.seen.back().ref, fwd::PageSetupRef);

    FINDREPLACEW fr{};
    fr.lCustData = reinterpret_cast<LPARAM>(static_cast<ISubclass*>(&client));
    EXPECT_EQ(fwd::ReplaceDialog(w.Get(), WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&fr)), 1u) << "shown whatever the client said";
    EXPECT_EQ(client.seen.back().ref, fwd::ReplaceRef);
    EXPECT_EQ(fwd::ReplaceDialog(w.Get(), WM_COMMAND, 0, reinterpret_cast<LPARAM>(&fr)), 0u);

    // The folder browser passes its lParam and no wParam, and returns what the client says.
    EXPECT_EQ(fwd::BrowseCallbackProc(w.Get(), 1 /*BFFM_INITIALIZED*/, 0x1234,
                                      reinterpret_cast<LPARAM>(static_cast<ISubclass*>(&client))),
              77);
    EXPECT_EQ(client.seen.back().ref, fwd::BrowseRef);
    EXPECT_EQ(client.seen.back().wParam, 0u);
    EXPECT_EQ(client.seen.back().lParam, 0x1234);

    size_t calls = client.seen.size();
    std::vector<BYTE> empty = PrintStructure(nullptr);
    EXPECT_EQ(fwd::PrintDialog(w.Get(), WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(empty.data())), 0u);
    fr.lCustData = 0;
    EXPECT_EQ(fwd::FindDialog(w.Get(), WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&fr)), 1u);
    EXPECT_EQ(fwd::BrowseCallbackProc(w.Get(), 1, 0, 0), 0);
    CHOOSEFONTW cf{};
    EXPECT_EQ(fwd::FontDialog(w.Get(), WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&cf)), 0u);
    EXPECT_EQ(fwd::FontDialog(w.Get(), WM_COMMAND, 0, 0), 0u);
    EXPECT_EQ(client.seen.size(), calls) << "zero custom data: nobody is called";

    // A failing client: the dialog gets the result the client stored.
    client.fail = true;
    client.StoreMessageResult(9);
    OPENFILENAMEW ofn{};
    ofn.lCustData = reinterpret_cast<LPARAM>(static_cast<ISubclass*>(&client));
    EXPECT_EQ(fwd::OpenFileDialog(w.Get(), WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&ofn)), 9u);
    EXPECT_EQ(client.seen.back().ref, fwd::OpenFileRef);
    EXPECT_EQ(fwd::SaveFileOldStyleDialog(w.Get(), WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&ofn)), 9u);
    EXPECT_EQ(client.seen.back().ref, fwd::SaveFileOldStyleRef);
}

// The print dialog's view of the object. Not in an anonymous namespace: the compiler would know
// no class implements it and drop the calls.
struct PrintDialogCallbackView : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE InitDone() = 0;
    virtual HRESULT STDMETHODCALLTYPE SelectionChange() = 0;
    virtual HRESULT STDMETHODCALLTYPE HandleMessage(HWND, UINT, WPARAM, LPARAM, LRESULT*) = 0;
};

TEST(PrintDialogCallbackObject, CountsReferencesAndForwardsInitOnly) {
    Recorder client;
    host::ComPtr<IUnknown> object = CreatePrintDialogCallbackObject(&client);
    void* itf = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_PrintDialogCallback, &itf), S_OK);
    EXPECT_EQ(itf, object.Get());
    EXPECT_EQ(object->QueryInterface(IID_PrintDialogCallback, nullptr), E_POINTER);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IDispatch, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    auto* callback = static_cast<PrintDialogCallbackView*>(itf);
    EXPECT_EQ(callback->AddRef(), 3u);
    EXPECT_EQ(callback->Release(), 2u);

    host::UniqueWindow w = PlainWindow();
    LRESULT result = 0;
    EXPECT_EQ(callback->InitDone(), S_FALSE);
    EXPECT_EQ(callback->SelectionChange(), S_FALSE);
    EXPECT_EQ(callback->HandleMessage(w.Get(), WM_COMMAND, 0, 0, &result), S_FALSE);
    EXPECT_TRUE(client.seen.empty());
    EXPECT_EQ(callback->HandleMessage(w.Get(), WM_INITDIALOG, 0, 0, &result), S_FALSE);
    ASSERT_EQ(client.seen.size(), 1u);
    EXPECT_EQ(client.seen[0].ref, -5);
    EXPECT_EQ(client.seen[0].hwnd, w.Get());

    object = {};  // the creator lets go; the dialog's reference keeps it alive
    EXPECT_EQ(callback->Release(), 0u);
}
