// Small shared routines: Unicode directory listing and attributes, access keys, fonts, the
// outermost containing control, screen metrics and conversions, colours, pictures, icon and
// bitmap rendering, word and byte helpers.
#pragma once

#include "host/ControlSite.h"
#include "host/Value.h"

#include <windows.h>

#include <optional>
#include <string>

namespace foundation {

// One directory entry per call (FindFirstFileW/FindNextFileW through "\\?\", UNC aware).
// A mask starts a listing, an empty mask continues it, "" ends it; attribute mask 8 returns the
// volume label. Hidden (2), system (4) and directory (16) entries only when asked for; "." and
// ".." never. Errors: 52 for a failed first search with a system error above 12, 5 when
// continued without an open search.
std::wstring ListDirectoryEntry(const std::wstring& mask, DWORD attributes = 0);
// GetFileAttributesW through "\\?\"; FILE_ATTRIBUTE_NORMAL gives 0; a missing path raises 53.
DWORD GetPathAttributes(const std::wstring& path);

// The upper-cased character after the last single "&" of a caption ("&&" is a literal
// ampersand); 0 when there is none.
UINT MnemonicKeyOf(std::wstring_view caption);

// Two absent fonts are the same; one absent is different; else attribute by attribute.
bool SameFont(const host::FontDesc* a, const host::FontDesc* b);

// The outermost control containing this one (itself when it sits on the form).
host::ControlSite& TopHostControl(host::ControlSite& site);

// --- screen metrics (cached for the process) -------------------------------------------------
int ScreenPixelsPerInchX();
int ScreenPixelsPerInchY();
double DpiScaleX();  // pixels per inch / 96
double DpiScaleY();
long HimetricToPixelsX(long himetric);
long HimetricToPixelsY(long himetric);
long PixelsToHimetricX(long pixels);
long PixelsToHimetricY(long pixels);
// 96 / pixels per inch × 15 / the host's twips per pixel: 1 when the host's twips match the
// screen; anything else tells a control to re-apply its site rectangles on resize.
double TwipsPerPixelCorrection();
// The same for a screen of `pixelsPerInch` and a host measuring `hostTwipsPerPixel`.
double TwipsPerPixelCorrectionFor(int pixelsPerInch, double hostTwipsPerPixel);
// Tests stand in another screen's correction (nullopt: back to the measured one).
void OverrideTwipsPerPixelCorrection(std::optional<double> correction);

// OleTranslateColor; -1 when it fails.
long TranslateColorValue(unsigned long oleColor, HPALETTE palette = nullptr);

// An OLE picture of a bitmap (OleCreatePictureIndirect); with ownHandle the picture deletes the
// bitmap. A null handle gives no picture.
host::Picture PictureFromBitmap(HBITMAP bitmap, bool ownHandle);

// Draws an icon into a DC at (x, y) with size (cx, cy), alpha-blended where it has alpha.
void RenderIcon(HDC dc, HICON icon, int x, int y, int cx, int cy);
// Draws a picture (bitmap or icon) into the DC's rectangle; 32-bit bitmaps with alpha are
// blended (GdiAlphaBlend), others copied stretched.
void RenderPicture(HDC dc, const host::Picture& picture, const RECT& rc);

// --- word and byte helpers -------------------------------------------------------------------
inline WORD LoWord(DWORD v) { return static_cast<WORD>(v & 0xFFFF); }
inline WORD HiWord(DWORD v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
inline DWORD MakeLong(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
inline BYTE LoByte(WORD v) { return static_cast<BYTE>(v & 0xFF); }
inline BYTE HiByte(WORD v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
inline short SignedLoWord(DWORD v) { return static_cast<short>(LoWord(v)); }
inline short SignedHiWord(DWORD v) { return static_cast<short>(HiWord(v)); }
// 0..65535 to the signed 16-bit value with the same bits; outside that range raises 6.
short UnsignedToInteger(long value);
// -32768..32767 to 0..65535 with the same bits; outside raises 6.
long IntegerToUnsigned(long value);
// Adds two 32-bit values as unsigned numbers, wrapping, without overflow errors.
long AddUnsigned(long a, long b);

}  // namespace foundation
