#include "controls/foundation/ControlServices.h"

#include "host/Form.h"

#include <cwchar>

namespace foundation {

void ValidateHostControls(host::ControlSite& site) { site.Parent().ValidateControls(); }

void ImageListPredefinedStrings(const host::Form& form, std::vector<std::wstring>& texts, std::vector<long>& values,
                                std::vector<host::ControlSite*>& objects) {
    texts = {L"(None)"};
    values = {0};
    objects = {nullptr};
    for (host::ControlSite* s : form.ControlsOfType(L"ImageList")) {
        texts.push_back(s->DisplayName());
        values.push_back(static_cast<long>(values.size()));
        objects.push_back(s);
    }
}

}  // namespace foundation
