#include "controls/foundation/PropertyRanges.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/MouseServices.h"

namespace foundation {

bool RejectOutOfRange(long value, long lo, long hi, bool designMode) {
    if (value >= lo && value <= hi) return false;
    InvalidPropertyValue(designMode);
    return true;
}

bool RejectMousePointer(long value, bool designMode) {
    if (IsValidMousePointer(value)) return false;
    InvalidPropertyValue(designMode);
    return true;
}

}  // namespace foundation
