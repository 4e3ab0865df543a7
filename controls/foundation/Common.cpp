#include "controls/foundation/Common.h"

#include "host/ContainerRouting.h"
#include "host/Error.h"

namespace foundation {

UINT MnemonicKeyOf(std::wstring_view caption) { return host::AccessKeyOf(caption); }

bool SameFont(const host::FontDesc* a, const host::FontDesc* b) {
    if (!a && !b) return true;
    if (!a || !b) return false;
    return a->name == b->name && a->size == b->size && a->weight == b->weight && a->italic == b->italic &&
           a->underline == b->underline && a->strikethrough == b->strikethrough && a->charset == b->charset;
}

host::ControlSite& TopHostControl(host::ControlSite& site) {
    host::ControlSite* s = &site;
    while (s->Container()) s = s->Container();
    return *s;
}

short UnsignedToInteger(long value) {
    if (value < 0 || value > 0xFFFF) host::Raise(host::err::Overflow);
    return static_cast<short>(static_cast<unsigned short>(value));
}

long IntegerToUnsigned(long value) {
    if (value < -32768 || value > 32767) host::Raise(host::err::Overflow);
    return static_cast<long>(static_cast<unsigned short>(static_cast<short>(value)));
}

long AddUnsigned(long a, long b) {
    return static_cast<long>(static_cast<unsigned long>(a) + static_cast<unsigned long>(b));
}

}  // namespace foundation
