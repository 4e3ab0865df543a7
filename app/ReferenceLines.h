// The syntax reference the panel's list shows: each line the syntax item padded to a field of
// ten characters, then "=> " and what it means.
#pragma once

#include <string>
#include <vector>

namespace workbench {

std::vector<std::wstring> ReferenceLines();

}  // namespace workbench
