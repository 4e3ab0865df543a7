// Text properties travel through the store as the UTF-16LE bytes of the text, so characters
// outside any narrow code page survive.
#include "controls/foundation/ComCtlsBase.h"

#include "host/Error.h"

namespace foundation {

host::Value PersistStringToVariant(std::wstring_view text) {
    if (text.empty()) return {};
    return host::Value(host::Utf16LeBytes(text));
}

std::wstring PersistVariantToString(const host::Value& value) {
    switch (value.GetKind()) {
    case host::Value::Kind::Empty: return {};
    case host::Value::Kind::Bytes: return host::FromUtf16LeBytes(value.AsBytes());
    case host::Value::Kind::String: return value.AsString();
    default: host::Raise(host::err::TypeMismatch);
    }
}

}  // namespace foundation
