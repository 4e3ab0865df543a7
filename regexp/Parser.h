// Pattern text -> Ast, in the dialect of the platform's RegExp 5.5 object. Raises base::Error
// with 5017..5021 for a rejected pattern.
#pragma once

#include "regexp/Ast.h"
#include "regexp/Text.h"

namespace rx {

Ast Parse(StringView pattern);

}  // namespace rx
