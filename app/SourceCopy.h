// SourceCopy: the text of the source box as the runs see it, copied from the edit window's own
// buffer a slice at a time from the message loop, so that keys typed meanwhile are read between
// slices. A copy is kept, shared and never changed, until the box's text changes.
//
// The edit control hands its buffer out through EM_GETHANDLE; from then on the buffer is the
// program's to free once the window has gone (the edit window does not free a buffer it has
// handed out). EditBuffers holds those handles and frees them.
#pragma once

#include "app/Wakeup.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace controls {
class TextBoxW;
}

namespace workbench {

// The buffers the edit windows have handed out. Destroy it after the windows.
class EditBuffers {
public:
    EditBuffers() = default;
    ~EditBuffers();
    EditBuffers(const EditBuffers&) = delete;
    EditBuffers& operator=(const EditBuffers&) = delete;

    void Note(HLOCAL buffer);

private:
    std::vector<HLOCAL> buffers_;
};

class SourceCopy {
public:
    // `copied` is called once a copy made in slices is complete.
    SourceCopy(controls::TextBoxW& box, EditBuffers& buffers, std::function<void()> copied);
    ~SourceCopy() = default;
    SourceCopy(const SourceCopy&) = delete;
    SourceCopy& operator=(const SourceCopy&) = delete;

    // The box's text changed: the copy is stale, and one in progress stops.
    void Invalidate();
    // Starts a copy in slices unless the copy is current or one is under way.
    void Start();
    // The current copy, the rest of it copied at once when need be.
    std::shared_ptr<const std::wstring> Now();
    // The current copy; null while none is complete.
    const std::shared_ptr<const std::wstring>& Current() const { return done_; }
    bool Copying() const { return copying_ != nullptr; }
    // Whether the box holds no text (asked of the box, not copied).
    bool BoxEmpty() const;

private:
    void Slice();
    // Copies up to `chars` more; false when the box no longer holds what the copy began with.
    bool CopyMore(size_t chars);
    void Complete();

    controls::TextBoxW& box_;  // borrowed: the form's source box
    EditBuffers& buffers_;     // borrowed: the form's
    std::function<void()> copied_;
    std::shared_ptr<const std::wstring> done_;
    std::unique_ptr<std::wstring> copying_;  // the copy in progress, room reserved for all of it
    size_t length_ = 0;                      // of the text being copied
    Wakeup nextSlice_;
};

}  // namespace workbench
