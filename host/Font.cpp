#include "host/Font.h"

#include "host/Scale.h"

#include <cmath>
#include <cwchar>

namespace host {

UniqueFont CreateGdiFont(const FontDesc& font) {
    LOGFONTW lf{};
    std::wcsncpy(lf.lfFaceName, font.name.c_str(), LF_FACESIZE - 1);
    int points = static_cast<int>(std::nearbyint(font.size));
    lf.lfHeight = -MulDiv(points, ScaleConverter::Screen().DpiY(), 72);
    lf.lfWeight = font.Bold() ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? 1 : 0;
    lf.lfUnderline = font.underline ? 1 : 0;
    lf.lfStrikeOut = font.strikethrough ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(font.charset & 0xFF);
    return UniqueFont(CreateFontIndirectW(&lf));
}

}  // namespace host
