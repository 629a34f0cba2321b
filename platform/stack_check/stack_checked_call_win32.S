# 32-bit Windows. The entry uses the standard calling convention: it removes
# its two 4-byte arguments itself, so esp must be back where it was before
# they were pushed.
#
# int StackCheckedCall2(void* entry, const char* first, const char* second, int32_t* result)  (cdecl)
        .text
        .globl  _StackCheckedCall2
_StackCheckedCall2:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        movl    %esp, %esi              # the stack before the arguments
        pushl   16(%ebp)                # second
        pushl   12(%ebp)                # first
        call    *8(%ebp)
        movl    20(%ebp), %ecx
        movl    %eax, (%ecx)            # *result
        xorl    %eax, %eax
        cmpl    %esi, %esp
        sete    %al                     # balanced?
        movl    %esi, %esp              # repair the stack whatever the entry did
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret
