// The data of an OLE drag: what a drag source offers and what a drop target reads.
//
// A DataObject is handed to the drag-and-drop notifications of a control (Control::OnOLE...). It
// wraps an IDataObject: the host's own (a drag a control starts with ControlSite::OLEDrag), or
// the one the system hands to a drop target (from this or any other program).
//
//   formats   clipboard format numbers: 1 CF_TEXT, 13 CF_UNICODETEXT, 15 CF_HDROP, 2 CF_BITMAP,
//             or a number from RegisterClipboardFormat
//   data      the bytes of the format's global memory block, exactly as stored: text formats
//             carry their terminating NUL the way the writer put it there
//
// The formats list of the host's own object can be changed only while the drag is being started
// (OnOLEStartDrag); afterwards, and on a drop target's object, SetData is allowed only for a
// format that was declared, and Clear and new formats raise 672. A format declared without data
// (SetData(format)) is rendered on demand: the first read raises the source's OnOLESetData, in
// which the source calls SetData(bytes, format).
//
// Errors: 460 for a format number outside 1..65535, 461 for reading a format the object does not
// have (or that its source could not render).
#pragma once

#include "host/Handles.h"
#include "host/Value.h"

#include <objidl.h>

#include <functional>
#include <string>
#include <vector>

namespace host {

class DataStore;

class DataObject {
public:
    // The host's own object for a drag being started; `render(data, format)` is called when a
    // declared format without data is read.
    using Renderer = std::function<void(DataObject& data, int format)>;
    static DataObject CreateForDrag(Renderer render);
    // A read-only view of an object the system handed over.
    static DataObject Wrap(IDataObject* object);

    void Clear();
    // Whether the object offers the format (as a memory block or a stream).
    bool GetFormat(int format) const;
    Bytes GetData(int format) const;
    // Declares the format; its data is asked for when first read.
    void SetData(int format);
    void SetData(Bytes data, int format);
    // The file list of format 15 (CF_HDROP); empty when the object has none.
    std::vector<std::wstring> Files() const;
    // Stores the list as format 15 (a DROPFILES block with wide names).
    void Files(const std::vector<std::wstring>& paths);
    // The text of format 13 (CF_UNICODETEXT), else of format 1 (CF_TEXT, the ANSI code page), up
    // to its first NUL; empty when the object has neither.
    std::wstring Text() const;
    // Stores the text as format 13 and as format 1, each followed by one NUL (an empty text as
    // empty blocks).
    void Text(const std::wstring& text);

    // The interface the system sees. Borrowed.
    IDataObject* Interface() const { return object_.Get(); }

    // Host side: the formats list is closed once the drag is under way; Detach ends on-demand
    // rendering when the drag is over (a target keeping the object gets no more calls into the
    // source).
    void CloseFormats();
    void Detach();

private:
    friend class DataStore;
    DataObject(ComPtr<IDataObject> object, DataStore* store) : object_(std::move(object)), store_(store) {}

    ComPtr<IDataObject> object_;
    DataStore* store_ = nullptr;  // the host's own object, or null for a system one; kept alive by object_
};

}  // namespace host
