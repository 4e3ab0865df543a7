// The GDI font of a host font object, made the one way the host and every control make it.
#pragma once

#include "host/Handles.h"
#include "host/Value.h"

namespace host {

// LOGFONTW from the font: face cut to 31 characters, height -MulDiv(rounded points, screen's
// vertical DPI, 72), weight, italic, underline, strikeout, the character set's low 8 bits;
// everything else 0. The caller owns the font.
UniqueFont CreateGdiFont(const FontDesc& font);

}  // namespace host
