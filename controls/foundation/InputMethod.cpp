#include "controls/foundation/ControlServices.h"

namespace foundation {

void AttachIMEContext(HWND hwnd, HIMC& slot) {
    if (!slot) slot = ImmCreateContext();
    if (slot) ImmAssociateContext(hwnd, slot);
}

void DetachIMEContext(HWND hwnd, HIMC& slot) {
    if (!slot) return;
    ImmAssociateContext(hwnd, nullptr);
    ImmDestroyContext(slot);
    slot = nullptr;
}

void ApplyIMEMode(HWND hwnd, HIMC ownContext, long imeMode) {
    if (!ImmIsIME(GetKeyboardLayout(0)) || !ownContext) return;
    HIMC himc = ImmGetContext(hwnd);
    if (imeMode == 3) {  // Disable: no context, so the IME cannot open here
        if (himc) {
            ImmReleaseContext(hwnd, himc);
            ImmAssociateContext(hwnd, nullptr);
        }
        return;
    }
    if (!himc) {
        ImmAssociateContext(hwnd, ownContext);
        himc = ImmGetContext(hwnd);
        if (!himc) return;
    }
    if (imeMode == 0) {
        ImmReleaseContext(hwnd, himc);
        return;
    }
    DWORD conversion = 0, sentence = 0;
    ImmGetConversionStatus(himc, &conversion, &sentence);
    constexpr DWORD N = IME_CMODE_NATIVE, K = IME_CMODE_KATAKANA, F = IME_CMODE_FULLSHAPE;
    struct Rule {
        bool open;
        DWORD set, clear;
    };
    static const Rule rules[] = {
        {false, 0, 0},        // 0 (handled above)
        {true, 0, 0},         // 1 On
        {false, 0, 0},        // 2 Off
        {false, 0, 0},        // 3 (handled above)
        {true, N | F, K},     // 4 Hiragana
        {true, N | K | F, 0}, // 5 Katakana
        {true, N | K, F},     // 6 KatakanaHalf
        {true, F, N | K},     // 7 AlphaFull
        {true, 0, N | K | F}, // 8 Alpha
        {true, N | F, 0},     // 9 HangulFull
        {true, N, F},         // 10 Hangul
    };
    if (imeMode >= 1 && imeMode <= 10) {
        const Rule& r = rules[imeMode];
        ImmSetOpenStatus(himc, r.open);
        conversion = (conversion | r.set) & ~r.clear;
        ImmSetConversionStatus(himc, conversion, sentence);
    }
    ImmReleaseContext(hwnd, himc);
}

}  // namespace foundation
