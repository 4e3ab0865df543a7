#include "app/SourceCopy.h"

#include "controls/textbox/TextBoxW.h"

#include <algorithm>

namespace workbench {
namespace {

// 2 MB of text a slice: a millisecond or two, the fresh pages of the copy included.
constexpr size_t kCharsPerSlice = size_t{1} << 20;

bool InputWaiting() { return HIWORD(GetQueueStatus(QS_INPUT)) != 0; }

size_t TextLength(HWND edit) { return edit ? static_cast<size_t>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0)) : 0; }

}  // namespace

// A platform whose edit window frees its buffer itself leaves an invalid handle here.
EditBuffers::~EditBuffers() {
    for (HLOCAL buffer : buffers_)
        if (LocalFlags(buffer) != LMEM_INVALID_HANDLE) LocalFree(buffer);
}

void EditBuffers::Note(HLOCAL buffer) {
    if (buffer && std::find(buffers_.begin(), buffers_.end(), buffer) == buffers_.end()) buffers_.push_back(buffer);
}

SourceCopy::SourceCopy(controls::TextBoxW& box, EditBuffers& buffers, std::function<void()> copied)
    : box_(box), buffers_(buffers), copied_(std::move(copied)), nextSlice_([this] { Slice(); }) {}

void SourceCopy::Invalidate() {
    done_.reset();
    copying_.reset();
}

bool SourceCopy::BoxEmpty() const { return done_ ? done_->empty() : TextLength(box_.hWnd()) == 0 && box_.Text().empty(); }

void SourceCopy::Start() {
    if (done_ || copying_) return;
    length_ = TextLength(box_.hWnd());
    copying_ = std::make_unique<std::wstring>();
    copying_->reserve(length_);  // the pages are touched slice by slice, as the text goes in
    nextSlice_.Post();
}

std::shared_ptr<const std::wstring> SourceCopy::Now() {
    if (done_) return done_;
    Start();
    if (!CopyMore(length_)) *copying_ = box_.Text();
    Complete();
    return done_;
}

void SourceCopy::Slice() {
    if (!copying_) return;
    if (InputWaiting()) return nextSlice_.PostAfterInput();
    if (!CopyMore(kCharsPerSlice)) *copying_ = box_.Text();  // whatever went wrong, the text at once
    else if (copying_->size() < length_) return nextSlice_.Post();
    Complete();
    copied_();
}

// The buffer is looked up and locked afresh each slice: the edit window may move it between
// messages. The length is checked too, so a change that came without its Change event still
// cannot mix two texts in one copy.
bool SourceCopy::CopyMore(size_t chars) {
    HWND edit = box_.hWnd();
    if (!edit || TextLength(edit) != length_) return false;
    HLOCAL buffer = reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0));
    if (!buffer) return false;  // a single-line box has none to lend
    buffers_.Note(buffer);
    if (LocalSize(buffer) < length_ * sizeof(wchar_t)) return false;
    const auto* text = static_cast<const wchar_t*>(LocalLock(buffer));
    if (!text) return false;
    const size_t from = copying_->size();
    copying_->append(text + from, std::min(chars, length_ - from));
    LocalUnlock(buffer);
    return true;
}

void SourceCopy::Complete() {
    done_ = std::shared_ptr<const std::wstring>(std::move(copying_));
}

}  // namespace workbench
