#include "controls/foundation/Common.h"

#include <olectl.h>

namespace foundation {

long TranslateColorValue(unsigned long oleColor, HPALETTE palette) {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(oleColor, palette, &rgb))) return -1;
    return static_cast<long>(rgb);
}

host::Picture PictureFromBitmap(HBITMAP bitmap, bool ownHandle) {
    if (!bitmap) return {};
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(desc);  // 20 bytes
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap;
    host::Picture picture;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, ownHandle ? TRUE : FALSE,
                                        reinterpret_cast<void**>(picture.Receive()))))
        return {};
    return picture;
}

void RenderIcon(HDC dc, HICON icon, int x, int y, int cx, int cy) {
    // DrawIconEx blends icons with an alpha channel itself.
    DrawIconEx(dc, x, y, icon, cx, cy, 0, nullptr, DI_NORMAL);
}

namespace {

bool HasAlpha(HBITMAP bitmap, BITMAP& info) {
    if (!GetObjectW(bitmap, sizeof(info), &info) || info.bmBitsPixel != 32 || !info.bmBits) return false;
    const auto* px = static_cast<const BYTE*>(info.bmBits);
    for (LONG i = 0; i < info.bmWidth * info.bmHeight; ++i)
        if (px[i * 4 + 3] != 0) return true;
    return false;
}

}  // namespace

void RenderPicture(HDC dc, const host::Picture& picture, const RECT& rc) {
    if (!picture) return;
    SHORT type = PICTYPE_NONE;
    picture->get_Type(&type);
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (type == PICTYPE_ICON) {
        RenderIcon(dc, reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)), rc.left, rc.top, cx, cy);
        return;
    }
    if (type == PICTYPE_BITMAP) {
        auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        BITMAP info{};
        if (HasAlpha(bitmap, info)) {
            host::UniqueMemoryDC mem(CreateCompatibleDC(dc));
            host::SelectObjectGuard keep(mem.Get(), bitmap);
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            GdiAlphaBlend(dc, rc.left, rc.top, cx, cy, mem.Get(), 0, 0, info.bmWidth, info.bmHeight, blend);
            return;
        }
    }
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    picture->Render(dc, rc.left, rc.top, cx, cy, 0, h, w, -h, nullptr);
}

}  // namespace foundation
