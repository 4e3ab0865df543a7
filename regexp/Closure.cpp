#include "regexp/Closure.h"

namespace rx {

// Counters are told from marks by the instructions that use them; each counted loop's mark is
// found at the CounterNext that closes its body, which the compiler follows with the Jump back to
// the loop's head.
Closure::Closure(const Program& program) : prog_(program), code_(program.code.data()) {
    std::vector<uint8_t> isMark(program.registerCount, 0);
    loopMark_.assign(program.code.size(), -1);
    const auto& code = program.code;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
        switch (static_cast<Op>(code[pc])) {
        case Op::SetMark: case Op::CheckProgress: isMark[static_cast<size_t>(code[pc + 1])] = 1; break;
        case Op::CounterNext:
            if (code[pc + 2] >= 0) {
                isMark[static_cast<size_t>(code[pc + 2])] = 1;
                if (pc + 5 < code.size() && static_cast<Op>(code[pc + 5]) == Op::Jump)
                    loopMark_[static_cast<size_t>(code[pc + 6])] = code[pc + 2];
            }
            break;
        default: break;
        }
    }
    regIndex_.resize(program.registerCount);
    for (uint32_t r = 0; r < program.registerCount; ++r)
        regIndex_[r] = static_cast<int32_t>(isMark[r] ? markCount_++ : counters_++);
    marks_.assign((markCount_ + 31) / 32, 0);
    regs_.assign(counters_, 0);
}

bool Closure::Follows(const Program& program) {
    const auto& code = program.code;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
        switch (static_cast<Op>(code[pc])) {
        case Op::BackRef: case Op::BackRefFold: case Op::LookAhead: case Op::NegLookAhead: return false;
        default: break;
        }
    }
    return true;
}

}  // namespace rx
