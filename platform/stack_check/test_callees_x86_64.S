# Test entries for the stack check on x86_64 (Windows and System V alike:
# neither reads its arguments). Both return 7.
        .text
        .globl  BalancedCallee
BalancedCallee:
        movl    $7, %eax
        ret

        .globl  UnbalancedCallee
UnbalancedCallee:
        movl    $7, %eax
        ret     $8                      # removes 8 bytes that are not its own
#ifdef __ELF__
        .section .note.GNU-stack,"",@progbits
#endif
