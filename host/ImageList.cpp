#include "host/ImageList.h"

#include "host/Error.h"

namespace host {

void ImageList::ReadProperties(const PropertyBag& bag) {
    width_ = static_cast<int>(bag.Read(L"ImageWidth", 16L).AsLong());
    height_ = static_cast<int>(bag.Read(L"ImageHeight", 16L).AsLong());
    maskColor_ = static_cast<unsigned long>(bag.Read(L"MaskColor", static_cast<long>(0xC0C0C0)).AsLong());
    // Stored data from elsewhere may hold nonsense; a list of no size could hold nothing.
    if (width_ < 1) width_ = 16;
    if (height_ < 1) height_ = 16;
}

void ImageList::WriteProperties(PropertyBag& bag) {
    bag.Write(L"ImageWidth", static_cast<long>(width_), 16L);
    bag.Write(L"ImageHeight", static_cast<long>(height_), 16L);
    bag.Write(L"MaskColor", static_cast<long>(maskColor_), static_cast<long>(0xC0C0C0));
}

void ImageList::ImageWidth(int px) {
    if (px < 1) Raise(err::InvalidPropertyValue);
    if (Count() > 0) Raise(err::InvalidProcedureCall);
    width_ = px;
    list_.Reset();
}

void ImageList::ImageHeight(int px) {
    if (px < 1) Raise(err::InvalidPropertyValue);
    if (Count() > 0) Raise(err::InvalidProcedureCall);
    height_ = px;
    list_.Reset();
}

HIMAGELIST ImageList::EnsureList() {
    if (!list_) list_.Reset(ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4));
    return list_.Get();
}

int ImageList::Add(HBITMAP bitmap) {
    HIMAGELIST list = EnsureList();
    if (!list || !bitmap) Raise(err::InvalidPropertyValue);
    return ImageList_AddMasked(list, bitmap, maskColor_ & 0xFFFFFF);
}

int ImageList::AddIcon(HICON icon) {
    HIMAGELIST list = EnsureList();
    if (!list || !icon) Raise(err::InvalidPropertyValue);
    return ImageList_AddIcon(list, icon);
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.Get()) : 0; }

void ImageList::Clear() {
    if (list_) ImageList_RemoveAll(list_.Get());
}

}  // namespace host
