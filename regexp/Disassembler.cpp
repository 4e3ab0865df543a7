#include <sstream>

#include "regexp/Program.h"

namespace rx {

// One line per instruction: offset, name, operands. For tests and for reading what the compiler
// made of a pattern.
std::string Program::Disassemble() const {
    static const char* const kNames[] = {
#define RX_NAME(name, size, operands) #name,
        RX_OPCODES(RX_NAME)
#undef RX_NAME
    };
    std::ostringstream out;
    for (size_t pc = 0; pc < code.size();) {
        auto op = static_cast<Op>(code[pc]);
        out << pc << ' ' << kNames[static_cast<int>(op)];
        int size = InstrSize(code.data(), pc);
        if (op == Op::String || op == Op::StringFold) {
            out << ' ' << code[pc + 1] << " \"";
            for (int k = 0; k < code[pc + 1]; ++k) {
                auto c = static_cast<uint32_t>(code[pc + 2 + static_cast<size_t>(k)]);
                if (c >= 0x20 && c < 0x7F) out << static_cast<char>(c);
                else out << "\\u" << std::hex << c << std::dec;
            }
            out << '"';
        } else {
            for (int k = 1; k < size; ++k) out << ' ' << code[pc + static_cast<size_t>(k)];
        }
        out << '\n';
        pc += static_cast<size_t>(size);
    }
    return out.str();
}

}  // namespace rx
