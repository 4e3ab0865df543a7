#include "controls/foundation/Subclass.h"

#include "host/Error.h"
#include "host/Handles.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace foundation;

namespace {

struct Seen {
    UINT msg;
    LONG_PTR ref;
};

// A client that records what reaches it and can answer or fail on one message.
class Recorder : public ISubclass {
public:
    std::vector<Seen> seen;
    UINT answerMsg = 0;
    LRESULT answer = 0;
    UINT failMsg = 0;

    bool Saw(UINT msg, LONG_PTR ref = -1) const {
        for (const Seen& s : seen)
            if (s.msg == msg && (ref < 0 || s.ref == ref)) return true;
        return false;
    }

protected:
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override {
        seen.push_back({wMsg, dwRefData});
        if (wMsg == failMsg && failMsg) {
            StoreMessageResult(77);
            throw host::Error(5, L"Invalid procedure call or argument");
        }
        if (wMsg == answerMsg && answerMsg) return answer;
        return CallDefaultProc(hwnd, wMsg, wParam, lParam);
    }
};

host::UniqueWindow MakeWindow() {
    return host::UniqueWindow(CreateWindowExW(0, L"Edit", L"x", WS_OVERLAPPED, 0, 0, 100, 30, nullptr, nullptr,
                                              GetModuleHandleW(nullptr), nullptr));
}

constexpr UINT kProbe = WM_APP + 1;

}  // namespace

TEST(Subclass, InstallTwiceKeepsTheFirstClientAndRemoveOnceTakesItOff) {
    auto w = MakeWindow();
    Recorder a, b;
    InstallSubclass(w.Get(), &a, 1);
    InstallSubclass(w.Get(), &b, 2);
    EXPECT_EQ(GetPropW(w.Get(), L"ComCtlSubclassInit"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetPropW(w.Get(), L"ComCtlSubclassID"), reinterpret_cast<HANDLE>(static_cast<ISubclass*>(&a)));
    SendMessageW(w.Get(), kProbe, 0, 0);
    EXPECT_TRUE(a.Saw(kProbe, 1));
    EXPECT_FALSE(b.Saw(kProbe));

    RemoveSubclass(w.Get());
    EXPECT_EQ(GetPropW(w.Get(), L"ComCtlSubclassInit"), nullptr);
    EXPECT_EQ(GetPropW(w.Get(), L"ComCtlSubclassID"), nullptr);
    a.seen.clear();
    SendMessageW(w.Get(), kProbe, 0, 0);
    EXPECT_TRUE(a.seen.empty());
    RemoveSubclass(w.Get());        // harmless
    InstallSubclass(nullptr, &a, 1);  // nothing
    RemoveSubclass(nullptr);
}

TEST(Subclass, TwoNamesOnOneWindowEachGetTheirReference) {
    auto w = MakeWindow();
    Recorder dialog, owner;
    InstallSubclass(w.Get(), &dialog, 3, L"ComCtlsCdl1");
    InstallSubclass(w.Get(), &owner, 4, L"ComCtlsCdl2");
    SendMessageW(w.Get(), kProbe, 0, 0);
    EXPECT_TRUE(dialog.Saw(kProbe, 3));
    EXPECT_TRUE(owner.Saw(kProbe, 4));
    RemoveSubclass(w.Get(), L"ComCtlsCdl1");
    dialog.seen.clear();
    owner.seen.clear();
    SendMessageW(w.Get(), kProbe, 0, 0);
    EXPECT_TRUE(dialog.seen.empty());
    EXPECT_TRUE(owner.Saw(kProbe, 4));
    RemoveSubclass(w.Get(), L"ComCtlsCdl2");
}

TEST(Subclass, DestroyingTheWindowDetachesWithoutShowingTheClientItsEnd) {
    Recorder r;
    {
        auto w = MakeWindow();
        InstallSubclass(w.Get(), &r, 1);
        SendMessageW(w.Get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    }  // destroyed here, never removed
    EXPECT_TRUE(r.Saw(WM_SETTEXT, 1));
    EXPECT_FALSE(r.Saw(WM_DESTROY));
    EXPECT_FALSE(r.Saw(WM_NCDESTROY));
}

TEST(Subclass, TheClientsAnswerFailureAndDisappearanceAreHandled) {
    auto w = MakeWindow();
    {
        Recorder r;
        r.answerMsg = kProbe;
        r.answer = 1234;
        r.failMsg = kProbe + 1;
        InstallSubclass(w.Get(), &r, 1);
        EXPECT_EQ(SendMessageW(w.Get(), kProbe, 0, 0), 1234);
        // A failure inside the client is not passed to the system: the stored result comes back.
        EXPECT_EQ(SendMessageW(w.Get(), kProbe + 1, 0, 0), 77);
        // The client ends without removing its subclass (a fault of the client's own).
    }
    // A late message gets the default handling instead of reaching the dead object.
    SendMessageW(w.Get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"still alive"));
    wchar_t buf[32] = {};
    GetWindowTextW(w.Get(), buf, 32);
    EXPECT_STREQ(buf, L"still alive");
}

TEST(Subclass, ScopedSubclassAndRecreationLeaveOneSubclassPerWindow) {
    Recorder r;
    auto host = MakeWindow();
    ScopedSubclass onHost(host.Get(), &r, 2);
    host::UniqueWindow child;
    ScopedSubclass onChild;
    for (int round = 0; round < 3; ++round) {
        // Re-creation: remove, destroy, create, install.
        onChild.Reset();
        child = MakeWindow();
        onChild = ScopedSubclass(child.Get(), &r, 1);
        InstallSubclass(host.Get(), &r, 2);  // a repeated install changes nothing
    }
    r.seen.clear();
    SendMessageW(child.Get(), kProbe, 0, 0);
    SendMessageW(host.Get(), kProbe, 0, 0);
    ASSERT_EQ(r.seen.size(), 2u);  // one delivery each: exactly one subclass on each window
    EXPECT_EQ(r.seen[0].ref, 1);
    EXPECT_EQ(r.seen[1].ref, 2);
    onChild.Reset();
    onHost.Reset();
    EXPECT_EQ(GetPropW(host.Get(), L"ComCtlSubclassInit"), nullptr);
    EXPECT_FALSE(IsLegacySubclassPlatform());  // Wine reports a later Windows
}
