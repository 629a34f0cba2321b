# 64-bit System V (Linux), so that the check itself is unit-tested natively.
# The entry takes its two arguments in rdi and rsi and must leave rsp where
# it was.
#
# int StackCheckedCall2(void* entry, const char* first, const char* second, int32_t* result)
#   rdi = entry, rsi = first, rdx = second, rcx = result
        .text
        .globl  StackCheckedCall2
        .type   StackCheckedCall2, @function
StackCheckedCall2:
        pushq   %rbx
        pushq   %r12
        pushq   %r13                    # rsp is now 16-byte aligned
        movq    %rcx, %rbx              # result
        movq    %rdi, %rax              # entry
        movq    %rsi, %rdi              # first
        movq    %rdx, %rsi              # second
        movq    %rsp, %r12              # the stack before the call
        call    *%rax
        movl    %eax, (%rbx)            # *result
        xorl    %eax, %eax
        cmpq    %r12, %rsp
        sete    %al                     # balanced?
        movq    %r12, %rsp              # repair the stack whatever the entry did
        popq    %r13
        popq    %r12
        popq    %rbx
        ret
        .size   StackCheckedCall2, .-StackCheckedCall2
        .section .note.GNU-stack,"",@progbits
