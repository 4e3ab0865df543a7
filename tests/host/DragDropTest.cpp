// OLE drag and drop between controls on a real form: the data object as the system reads it, the
// drop targets found by the system's own drag loop, and drags started by a control and carried
// by the mouse through the input queue.
#include "HostTestSupport.h"

#include "host/DataObject.h"
#include "host/DragDrop.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstring>
#include <functional>

using namespace host;
using hosttest::PumpUntil;
using hosttest::TestForm;

namespace {

std::vector<std::wstring> g_log;

// Logs a line, but only once for a run of identical ones (drag-over repeats on every tick).
void Note(const std::wstring& line) {
    if (g_log.empty() || g_log.back() != line) g_log.push_back(line);
}

Bytes TextBytes(const std::wstring& text) {
    Bytes b((text.size() + 1) * 2, 0);
    std::memcpy(b.data(), text.c_str(), b.size());
    return b;
}

// The text of a CF_UNICODETEXT block, up to its first NUL.
std::wstring TextOf(const Bytes& b) {
    std::wstring s(reinterpret_cast<const wchar_t*>(b.data()), b.size() / 2);
    return s.substr(0, s.find(L'\0'));
}

// A control that records the drag-and-drop notifications it gets; windowed or windowless.
class DragProbe : public Control {
public:
    explicit DragProbe(bool windowless) : windowless_(windowless) {}
    std::wstring TypeName() const override { return windowless_ ? L"DropPatch" : L"DragProbe"; }
    SurfaceKind Surface() const override { return windowless_ ? SurfaceKind::Windowless : SurfaceKind::HostWindow; }
    void ReadProperties(const PropertyBag& bag) override { DropMode(static_cast<int>(bag.Read(L"Drop", 0L).AsLong())); }
    void DropMode(int mode) {
        if (Site().HostWin()) Site().HostWin()->OLEDropMode(mode);
        else Site().Windowless()->OLEDropMode(mode);
    }

    void OnOLEStartDrag(DataObject& data, long& allowed) override {
        Note(Name() + L" start");
        if (start) start(data, allowed);
    }
    void OnOLESetData(DataObject& data, int& format) override {
        Note(Name() + L" render " + std::to_wstring(format));
        if (render) render(data, format);
    }
    void OnOLEGiveFeedback(long& effect, bool& defaultCursors) override { ++feedbacks; }
    void OnOLECompleteDrag(long& effect) override { Note(Name() + L" complete " + std::to_wstring(effect)); }
    void OnOLEDragOver(DataObject& data, long& effect, int button, int shift, float x, float y, int state) override {
        static const wchar_t* states[] = {L" enter", L" leave", L" over"};
        Note(Name() + states[state]);
        lastPoint = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
        lastButton = button;
        if (state != 1 && answer >= 0) effect = answer;
    }
    void OnOLEDragDrop(DataObject& data, long& effect, int button, int shift, float x, float y) override {
        lastPoint = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
        lastButton = button;
        dropped = data.GetFormat(CF_UNICODETEXT) ? TextOf(data.GetData(CF_UNICODETEXT)) : L"";
        if (format2 && data.GetFormat(format2)) droppedSecond = TextOf(data.GetData(format2));
        Note(Name() + L" drop " + dropped);
        if (answer >= 0) effect = answer;
        if (onDrop) {
            auto call = onDrop;  // the handler may unload the form, and this control with it
            call(data);
        }
    }

    std::function<void(DataObject&, long&)> start;
    std::function<void(DataObject&, int)> render;
    std::function<void(DataObject&)> onDrop;
    long answer = -1;  // the effect chosen as a target; -1 leaves the allowed effects
    int format2 = 0;   // a second format read on drop
    int feedbacks = 0;
    POINT lastPoint{};
    int lastButton = -1;
    std::wstring dropped, droppedSecond;

private:
    bool windowless_;
};

const wchar_t* kDesign = LR"(Begin Form F
   Caption = "拖放"
   ClientWidth = 9000
   ClientHeight = 4500
   Begin DragProbe A
      Drop = 1
      Left = 300
      Top = 300
      Width = 2400
      Height = 1500
   End
   Begin DragProbe B
      Left = 3300
      Top = 300
      Width = 2400
      Height = 1500
   End
   Begin DropPatch P
      Drop = 1
      Left = 300
      Top = 2400
      Width = 2400
      Height = 1200
   End
   Begin DropPatch Q
      Left = 3300
      Top = 2400
      Width = 2400
      Height = 1200
   End
End
)";

// The screen point at (dx, dy) pixels inside a control.
POINT ScreenPoint(Form& form, const wchar_t* name, int dx = 10, int dy = 12) {
    RECT r = form.Site(name).PixelRect();
    HWND container = form.Site(name).ContainerWindow();
    POINT p{r.left + dx, r.top + dy};
    ClientToScreen(container, &p);
    return p;
}

// A drag source of the test's own, given to the system's drag loop: it walks the pointer along a
// path, staying a few ticks at each point, then drops.
class PathSource final : public IDropSource {
public:
    explicit PathSource(std::vector<POINT> path) : path_(std::move(path)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
        if (step_ >= path_.size()) return DRAGDROP_S_DROP;
        SetCursorPos(path_[step_].x, path_[step_].y);
        if (++ticks_ >= 3) {
            ticks_ = 0;
            ++step_;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    std::vector<POINT> path_;
    size_t step_ = 0;
    int ticks_ = 0;
};

void SendMouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

void SendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// Steps run by a thread timer while the system's drag loop owns the thread.
std::vector<std::function<void()>> g_steps;
size_t g_step = 0;
void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    if (g_step < g_steps.size()) g_steps[g_step++]();
}

}  // namespace

class DragDropTest : public testing::Test {
protected:
    void SetUp() override {
        hosttest::RegisterTestControls();
        RegisterControlKind(L"DragProbe", [] { return std::make_unique<DragProbe>(false); });
        RegisterControlKind(L"DropPatch", [] { return std::make_unique<DragProbe>(true); });
        ASSERT_TRUE(dragdrop::EnsureOle());
        g_log.clear();
        form_ = std::make_unique<TestForm>(kDesign);
        form_->Show();
        hosttest::Activate(*form_);
    }
    void TearDown() override {
        if (form_) form_->Unload();
        SetCursorPos(0, 0);
    }
    DragProbe& Probe(const wchar_t* name) { return form_->Ctl<DragProbe>(name); }

    // Runs the system's drag loop with a text from the test's own source along `path`.
    DWORD DragAlong(std::vector<POINT> path, const std::wstring& text, DWORD allowed) {
        DataObject data = DataObject::CreateForDrag(nullptr);
        data.SetData(TextBytes(text), CF_UNICODETEXT);
        SetCursorPos(path.front().x, path.front().y);
        PathSource source(std::move(path));
        DWORD effect = 0;
        HRESULT hr = DoDragDrop(data.Interface(), &source, allowed, &effect);
        EXPECT_EQ(hr, DRAGDROP_S_DROP);
        return effect;
    }

    std::unique_ptr<TestForm> form_;
};

TEST_F(DragDropTest, DataObjectOffersWhatTheSourceSetAndRendersDeclaredFormatsOnDemand) {
    int renders = 0;
    const int custom = static_cast<int>(RegisterClipboardFormatW(L"RegexWorkbench.Test"));
    DataObject data = DataObject::CreateForDrag([&](DataObject& d, int format) {
        ++renders;
        if (format == custom) d.SetData(Bytes{1, 2, 3}, custom);
    });
    data.SetData(TextBytes(L"匹配"), CF_UNICODETEXT);
    data.SetData(custom);
    data.SetData(CF_TEXT);  // declared, but the renderer gives nothing for it
    EXPECT_TRUE(data.GetFormat(CF_UNICODETEXT));
    EXPECT_TRUE(data.GetFormat(custom));
    EXPECT_FALSE(data.GetFormat(CF_HDROP));

    // What another program sees through the interface.
    IDataObject* object = data.Interface();
    FORMATETC fe{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    ASSERT_EQ(object->GetData(&fe, &medium), S_OK);
    ASSERT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(medium.hGlobal)), L"匹配");
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    fe.cfFormat = CF_BITMAP;
    EXPECT_NE(object->QueryGetData(&fe), S_OK);

    ComPtr<IEnumFORMATETC> formats;
    ASSERT_EQ(object->EnumFormatEtc(DATADIR_GET, formats.Receive()), S_OK);
    std::vector<int> listed;
    FORMATETC item;
    while (formats->Next(1, &item, nullptr) == S_OK) listed.push_back(item.cfFormat);
    EXPECT_EQ(listed, (std::vector<int>{CF_UNICODETEXT, custom, CF_TEXT}));

    // A declared format is rendered once, on the first read, through the interface too.
    fe.cfFormat = static_cast<CLIPFORMAT>(custom);
    ASSERT_EQ(object->GetData(&fe, &medium), S_OK);
    EXPECT_EQ(GlobalSize(medium.hGlobal), 3u);
    ReleaseStgMedium(&medium);
    EXPECT_EQ(data.GetData(custom), (Bytes{1, 2, 3}));
    EXPECT_EQ(renders, 1);
    // Not rendered: an error for the reader, not empty data.
    try {
        data.GetData(CF_TEXT);
        ADD_FAILURE() << "461 expected";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 461);
    }
    fe.cfFormat = CF_TEXT;
    EXPECT_NE(object->GetData(&fe, &medium), S_OK);

    // Bad format numbers and a closed formats list.
    EXPECT_THROW(data.GetFormat(0), Error);
    data.CloseFormats();
    try {
        data.SetData(Bytes{9}, CF_BITMAP);
        ADD_FAILURE() << "672 expected";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 672);
    }
    EXPECT_THROW(data.Clear(), Error);
    data.SetData(TextBytes(L"替换"), CF_UNICODETEXT);  // a declared format may still change
    EXPECT_EQ(data.GetData(CF_UNICODETEXT), TextBytes(L"替换"));  // the bytes as stored, NUL and all

    // The target's view is read-only.
    DataObject seen = DataObject::Wrap(object);
    EXPECT_EQ(seen.GetData(CF_UNICODETEXT), TextBytes(L"替换"));
    EXPECT_THROW(seen.SetData(Bytes{1}, CF_UNICODETEXT), Error);
    EXPECT_THROW(seen.GetData(CF_HDROP), Error);
}

TEST_F(DragDropTest, FileListsAreRealDropFilesBlocks) {
    DataObject data = DataObject::CreateForDrag(nullptr);
    std::vector<std::wstring> paths{L"C:\\文本\\样本.txt", L"D:\\b.log"};
    data.Files(paths);
    FORMATETC fe{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    ASSERT_EQ(data.Interface()->GetData(&fe, &medium), S_OK);
    auto drop = static_cast<HDROP>(medium.hGlobal);
    ASSERT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    wchar_t name[MAX_PATH];
    DragQueryFileW(drop, 0, name, MAX_PATH);
    EXPECT_STREQ(name, L"C:\\文本\\样本.txt");
    ReleaseStgMedium(&medium);
    EXPECT_EQ(DataObject::Wrap(data.Interface()).Files(), paths);
    EXPECT_TRUE(DataObject::Wrap(data.Interface()).GetFormat(CF_HDROP));
    EXPECT_TRUE(DataObject::CreateForDrag(nullptr).Files().empty());
}

TEST_F(DragDropTest, TextGoesAsUnicodeAndAnsiAndComesBackFromEitherUpToItsFirstNul) {
    DataObject data = DataObject::CreateForDrag(nullptr);
    data.Text(L"中文 text");
    // What another program reads: the memory blocks of both formats, each ending in one NUL.
    auto block = [&](int format) {
        FORMATETC fe{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        std::string bytes;
        if (data.Interface()->GetData(&fe, &medium) != S_OK) return bytes;
        bytes.assign(static_cast<const char*>(GlobalLock(medium.hGlobal)), GlobalSize(medium.hGlobal));
        GlobalUnlock(medium.hGlobal);
        ReleaseStgMedium(&medium);
        return bytes;
    };
    std::string unicode = block(CF_UNICODETEXT);
    ASSERT_EQ(unicode.size(), 8 * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(unicode.data()), 8), std::wstring(L"中文 text") + L'\0');
    std::string ansi = block(CF_TEXT);
    ASSERT_FALSE(ansi.empty());
    EXPECT_EQ(ansi.back(), '\0');
    EXPECT_EQ(ansi.find('\0'), ansi.size() - 1);
    EXPECT_EQ(ansi.substr(ansi.size() - 6), std::string(" text\0", 6));
    EXPECT_EQ(DataObject::Wrap(data.Interface()).Text(), L"中文 text");

    // Only ANSI text: read in the ANSI code page, up to the NUL.
    DataObject plain = DataObject::CreateForDrag(nullptr);
    plain.SetData(Bytes{'a', 'b', 'c', 0, 'x', 'y'}, CF_TEXT);
    EXPECT_EQ(DataObject::Wrap(plain.Interface()).Text(), L"abc");
    // Unicode wins over ANSI, and stops at its own first NUL.
    plain.SetData(TextBytes(std::wstring(L"宽\0尾", 3)), CF_UNICODETEXT);
    EXPECT_EQ(DataObject::Wrap(plain.Interface()).Text(), L"宽");
    EXPECT_EQ(DataObject::CreateForDrag(nullptr).Text(), L"");
    DataObject empty = DataObject::CreateForDrag(nullptr);
    empty.Text(L"");
    EXPECT_TRUE(empty.GetFormat(CF_UNICODETEXT));
    EXPECT_EQ(empty.Text(), L"");
}

TEST_F(DragDropTest, SystemDragLoopFindsWindowedAndWindowlessTargetsByDropMode) {
    DragProbe& a = Probe(L"A");
    a.answer = DROPEFFECT_COPY;
    POINT overA = ScreenPoint(*form_, L"A", 10, 12);
    POINT overP = ScreenPoint(*form_, L"P", 20, 30);
    POINT overB = ScreenPoint(*form_, L"B");
    POINT overQ = ScreenPoint(*form_, L"Q");
    DWORD effect = DragAlong({overA, overP, overB, overQ, overA}, L"文本", DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    // B and Q have no drop mode: nothing reaches them, and P hears of the drag in its own pixels.
    EXPECT_EQ(g_log, (std::vector<std::wstring>{L"A enter", L"A over", L"A leave", L"P enter", L"P over", L"P leave",
                                                 L"A enter", L"A over", L"A drop 文本"}));
    EXPECT_EQ(a.lastPoint.x, 10);
    EXPECT_EQ(a.lastPoint.y, 12);
    EXPECT_EQ(Probe(L"P").lastPoint.x, 20);
    EXPECT_EQ(Probe(L"P").lastPoint.y, 30);
    EXPECT_EQ(Probe(L"P").dropped, L"");

    // The effect a target chooses is kept within what the source allows; a drop where nothing
    // accepts gives none.
    g_log.clear();
    a.answer = DROPEFFECT_MOVE;
    EXPECT_EQ(DragAlong({overA}, L"x", DROPEFFECT_COPY), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(DragAlong({overB}, L"x", DROPEFFECT_COPY), static_cast<DWORD>(DROPEFFECT_NONE));

    // Drop modes switched: A stops answering, B starts.
    a.DropMode(0);
    Probe(L"B").DropMode(1);
    Probe(L"P").DropMode(0);
    g_log.clear();
    Probe(L"B").answer = DROPEFFECT_MOVE;
    EXPECT_EQ(DragAlong({overA, overP, overB}, L"再来", DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(g_log, (std::vector<std::wstring>{L"B enter", L"B over", L"B drop 再来"}));
}

TEST_F(DragDropTest, ControlStartsADragThatTheTargetCompletes) {
    DragProbe& source = Probe(L"B");
    DragProbe& target = Probe(L"A");
    const int custom = static_cast<int>(RegisterClipboardFormatW(L"RegexWorkbench.Later"));
    source.start = [&](DataObject& d, long& allowed) {
        d.SetData(TextBytes(L"拖动的文本"), CF_UNICODETEXT);
        d.SetData(custom);
        allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    };
    source.render = [&](DataObject& d, int format) { d.SetData(TextBytes(L"晚到"), format); };
    target.format2 = custom;
    target.answer = DROPEFFECT_MOVE;
    // No button is held: the drag drops where the pointer is.
    POINT overA = ScreenPoint(*form_, L"A");
    SetCursorPos(overA.x, overA.y);
    form_->Site(L"B").OLEDrag();
    EXPECT_EQ(g_log, (std::vector<std::wstring>{L"B start", L"A enter", L"B render " + std::to_wstring(custom),
                                                 L"A drop 拖动的文本", L"B complete 2"}));
    EXPECT_EQ(target.droppedSecond, L"晚到");
    EXPECT_FALSE(dragdrop::DragInProgress());

    // A start that allows nothing is no drag; a second drag inside the first is refused.
    g_log.clear();
    int nested = 0;
    source.start = [&](DataObject& d, long& allowed) {
        d.SetData(TextBytes(L"无"), CF_UNICODETEXT);
        try {
            form_->Site(L"A").OLEDrag();
        } catch (const Error& e) {
            nested = e.Number();
        }
    };
    form_->Site(L"B").OLEDrag();
    EXPECT_EQ(nested, 674);
    EXPECT_EQ(g_log, std::vector<std::wstring>{L"B start"});
}

TEST_F(DragDropTest, MouseCarriesTheDragAndEscapeCancelsIt) {
    DragProbe& source = Probe(L"B");
    DragProbe& target = Probe(L"A");
    source.start = [](DataObject& d, long& allowed) {
        d.SetData(TextBytes(L"鼠标"), CF_UNICODETEXT);
        allowed = DROPEFFECT_COPY;
    };
    POINT from = ScreenPoint(*form_, L"B");
    POINT to = ScreenPoint(*form_, L"A", 40, 20);
    auto press = [&] {
        SetCursorPos(from.x, from.y);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(PumpUntil([] { return GetKeyState(VK_LBUTTON) < 0; }));
    };

    press();
    g_steps = {[&] { SetCursorPos(to.x - 10, to.y); }, [&] { SetCursorPos(to.x, to.y); }, [] {},
               [] { SendMouse(MOUSEEVENTF_LEFTUP); }};
    g_step = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 60, RunStep);
    form_->Site(L"B").OLEDrag();
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_log.front(), L"B start");
    EXPECT_EQ(g_log.back(), L"B complete 1");
    EXPECT_NE(std::find(g_log.begin(), g_log.end(), L"A drop 鼠标"), g_log.end());
    EXPECT_EQ(target.lastButton, 1);  // the left button carried it
    EXPECT_EQ(target.lastPoint.x, 40);
    EXPECT_EQ(target.lastPoint.y, 20);
    EXPECT_GT(source.feedbacks, 0);

    // Escape while over the target: the target hears it leave, nothing is dropped.
    g_log.clear();
    target.dropped.clear();
    press();
    g_steps = {[&] { SetCursorPos(to.x, to.y); }, [] {}, [] { SendKey(VK_ESCAPE, false); },
               [] { SendKey(VK_ESCAPE, true); }};
    g_step = 0;
    timer = SetTimer(nullptr, 0, 60, RunStep);
    form_->Site(L"B").OLEDrag();
    KillTimer(nullptr, timer);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0; });
    EXPECT_EQ(g_log.back(), L"B complete 0");
    EXPECT_NE(std::find(g_log.begin(), g_log.end(), L"A leave"), g_log.end());
    EXPECT_TRUE(target.dropped.empty());
}

TEST_F(DragDropTest, FormUnloadedByTheDropHandlerEndsTheDragQuietly) {
    DragProbe& source = Probe(L"B");
    source.start = [](DataObject& d, long& allowed) {
        d.SetData(TextBytes(L"最后的"), CF_UNICODETEXT);
        allowed = DROPEFFECT_COPY;
    };
    std::wstring readAfter;
    Probe(L"A").onDrop = [&](DataObject& data) {
        HWND hostA = form_->Site(L"A").HostWin()->hWnd();
        form_->Unload();
        EXPECT_FALSE(IsWindow(hostA));
        readAfter = TextOf(data.GetData(CF_UNICODETEXT));  // the data outlive the form
    };
    POINT overA = ScreenPoint(*form_, L"A");
    SetCursorPos(overA.x, overA.y);
    form_->Site(L"B").OLEDrag();
    EXPECT_EQ(readAfter, L"最后的");
    // The source went with the form: it hears nothing more, and a new drag may start.
    EXPECT_EQ(g_log, (std::vector<std::wstring>{L"B start", L"A enter", L"A drop 最后的"}));
    EXPECT_FALSE(dragdrop::DragInProgress());
    form_.reset();
}
