# 64-bit Windows. The entry takes its two arguments in rcx and rdx and must
# leave rsp where it was; one that returns with "ret n" removes n bytes too many.
#
# int StackCheckedCall2(void* entry, const char* first, const char* second, int32_t* result)
#   rcx = entry, rdx = first, r8 = second, r9 = result
        .text
        .globl  StackCheckedCall2
StackCheckedCall2:
        pushq   %rbx
        pushq   %rsi
        pushq   %rdi                    # rsp is now 16-byte aligned
        movq    %r9, %rbx               # result
        movq    %rcx, %rax              # entry
        movq    %rdx, %rcx              # first
        movq    %r8, %rdx               # second
        subq    $32, %rsp               # the callee's shadow space
        movq    %rsp, %rsi              # the stack before the call
        call    *%rax
        movl    %eax, (%rbx)            # *result
        xorl    %eax, %eax
        cmpq    %rsi, %rsp
        sete    %al                     # balanced?
        movq    %rsi, %rsp              # repair the stack whatever the entry did
        addq    $32, %rsp
        popq    %rdi
        popq    %rsi
        popq    %rbx
        ret
