// ImageList: an invisible control that owns a comctl32 image list, so that controls with image
// properties (the check box) can find one on the form by its type name "ImageList".
//
//   properties  ImageWidth, ImageHeight (pixels; fixed once the list holds images), MaskColor
//   methods     Add(bitmap) / AddIcon(icon) copy the image in; Clear; Count
//   handle      hImageList(): the list itself, borrowed by whoever draws from it
#pragma once

#include "host/Control.h"

#include <commctrl.h>

namespace host {

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};
using UniqueImageList = UniqueHandle<ImageListTraits>;

class ImageList : public Control {
public:
    std::wstring TypeName() const override { return L"ImageList"; }
    SurfaceKind Surface() const override { return SurfaceKind::Windowless; }
    bool CanGetFocus() const override { return false; }
    HitResult HitTest(POINT, HitResult) override { return HitResult::Outside; }
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;

    // Null until the first image is added.
    HIMAGELIST hImageList() const { return list_.Get(); }
    int ImageWidth() const { return width_; }
    int ImageHeight() const { return height_; }
    // Raises 380 for a size below 1, and 5 once the list holds images (their size is fixed).
    void ImageWidth(int px);
    void ImageHeight(int px);
    unsigned long MaskColor() const { return maskColor_; }
    void MaskColor(unsigned long color) { maskColor_ = color; }

    // Copies the bitmap in (the caller keeps its bitmap); pixels of MaskColor become transparent.
    // Returns the new image's index.
    int Add(HBITMAP bitmap);
    int AddIcon(HICON icon);
    int Count() const;
    void Clear();

private:
    HIMAGELIST EnsureList();

    UniqueImageList list_;
    int width_ = 16, height_ = 16;
    unsigned long maskColor_ = 0xC0C0C0;
};

}  // namespace host
