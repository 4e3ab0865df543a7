// A look at the input's raw bytes before anything is decoded: where the compiled pattern names
// a literal that every match must contain and the bytes do not contain its UTF-8 form, there is
// no match, and neither decoding nor searching can change that.
#pragma once

#include <string_view>

namespace rx {
class Program;
}

namespace rxgrep {

// True when no match can exist in the text these UTF-8 bytes decode to (a byte-order mark
// already removed). False says nothing: the text must be searched.
bool RulesOutEveryMatch(const rx::Program& program, std::string_view utf8);

}  // namespace rxgrep
