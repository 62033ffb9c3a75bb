// The one place where the setup calls into a foreign library's code: a call with any number
// of 32-bit arguments that survives the calling convention, a wrong argument count and an
// exception inside the function.
#pragma once

#include <cstdint>
#include <vector>

namespace vnt {

// Calls function with args[0] as its first parameter and answers true with its 32-bit
// return value in result. Works for the standard Windows convention (the function pops its
// arguments) and the C convention (the caller does), because the stack pointer is restored
// from the frame after the call whatever the function did to it.
// An exception that the function does not handle itself (access violation, illegal
// instruction, division by zero, stack overflow, a raised software exception) ends the call:
// the stack is unwound back to here and the answer is false. A stack overflow is caught the
// first time only: the stack's guard page is not put back, so a second one ends the program.
bool GuardedCall(const void* function, const std::vector<uint32_t>& args, uint32_t& result);

}  // namespace vnt
