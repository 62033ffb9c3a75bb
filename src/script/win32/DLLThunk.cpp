// How a fault is caught without __try: the thunk below pushes its own exception registration
// record onto the thread's chain at %fs:0, exactly where a compiler's __try would. The system
// only asks our handler about exceptions that the called function (and anything it called)
// left unhandled, so a library that catches its own faults, or uses exceptions internally,
// works as usual. The handler then unwinds the frames above ours with RtlUnwind (so that
// their cleanup runs and the chain is cut back to our record) and resumes the thunk at its
// recovery path with the thunk's own stack and frame pointers, like longjmp.
#include "script/win32/DLLThunk.h"

#include <windows.h>

#if !defined(__i386__)
#error "The library-call thunk is written for 32-bit x86"
#endif

extern "C" {

// (function, args, count, result) -> 1 returned, 0 ended by an exception. cdecl.
int VntGuardedCall(const void* function, const uint32_t* args, uint32_t count, uint32_t* result);
// Unwinds to the record at frame and resumes its thunk; never returns.
[[noreturn]] void VntGuardEscape(void* frame, EXCEPTION_RECORD* record);

EXCEPTION_DISPOSITION VntGuardHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*) {
  // Asked again while an unwind passes through (ours or an outer one): nothing to do.
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  VntGuardEscape(frame, record);
}

}  // extern "C"

// Frame of VntGuardedCall, relative to %ebp:
//   +20 result   +16 count   +12 args   +8 function   +4 return address   0 caller's %ebp
//   -4 %ebx  -8 %esi  -12 %edi  -16 FPU control word
//   -20 %ebp to resume with  -24 handler  -28 previous record     <- our record (%fs:0)
asm(R"(
  .text
  .globl _VntGuardedCall
  .def _VntGuardedCall; .scl 2; .type 32; .endef
_VntGuardedCall:
  pushl %ebp
  movl  %esp, %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  subl  $4, %esp
  fnstcw (%esp)
  pushl %ebp
  pushl $_VntGuardHandler
  pushl %fs:0
  movl  %esp, %fs:0

  # Leave room for the arguments so that %esp is 16-byte aligned at the call, as code built
  # for SSE expects, then push them last to first: the first lands at the lowest address.
  movl  12(%ebp), %esi
  movl  16(%ebp), %ecx
  leal  0(,%ecx,4), %edx
  subl  %edx, %esp
  andl  $-16, %esp
  addl  %edx, %esp
1:
  testl %ecx, %ecx
  jz    2f
  pushl -4(%esi,%ecx,4)
  decl  %ecx
  jmp   1b
2:
  call  *8(%ebp)
  movl  20(%ebp), %ecx
  movl  %eax, (%ecx)
  movl  $1, %eax

.LVntGuardDone:
  # Some libraries switch the FPU's precision or exception masks and leave them so; our
  # arithmetic keeps its own.
  fldcw -16(%ebp)
  # Whatever the function popped or left behind, the frame tells where our stack is.
  movl  -28(%ebp), %ecx
  movl  %ecx, %fs:0
  leal  -12(%ebp), %esp
  popl  %edi
  popl  %esi
  popl  %ebx
  popl  %ebp
  ret

  .globl _VntGuardEscape
  .def _VntGuardEscape; .scl 2; .type 32; .endef
_VntGuardEscape:
  movl  4(%esp), %eax
  movl  8(%esp), %ecx
  pushl %eax              # kept on the stack: RtlUnwind need not preserve registers
  pushl $0                # return value
  pushl %ecx              # exception record
  pushl $0                # target address (unused on x86)
  pushl %eax              # target frame: our record, which stays on the chain
  call  _RtlUnwind@16
  popl  %eax
  movl  8(%eax), %ebp     # the thunk's frame
  movl  %eax, %esp        # everything below our record is gone
  cld                     # the function may have died with the direction flag set
  fninit                  # or with values on the FPU stack
  xorl  %eax, %eax
  jmp   .LVntGuardDone
)");

namespace vnt {

bool GuardedCall(const void* function, const std::vector<uint32_t>& args, uint32_t& result) {
  return VntGuardedCall(function, args.data(), uint32_t(args.size()), &result) != 0;
}

}  // namespace vnt
