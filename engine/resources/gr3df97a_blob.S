/* The datum-shift grid as a read-only blob of libgeokern.so, the array that
 * ressource_posix.cpp gives the engine: 17,316 records of 28 bytes. */
    .section .rodata
    .balign 8
    .globl geokern_GR3DF97A
    .hidden geokern_GR3DF97A
geokern_GR3DF97A:
    .incbin GR3DF97A_BIN
.Lgeokern_GR3DF97A_fin:
    .if .Lgeokern_GR3DF97A_fin - geokern_GR3DF97A - 484848
    .error "the grid GR3DF97A is not 17,316 records of 28 bytes"
    .endif
    .section .note.GNU-stack,"",@progbits
