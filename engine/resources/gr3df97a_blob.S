/* The datum-shift grid as a read-only blob of libgeokern.so: the POSIX
 * counterpart of the Windows resource "GR3DF97A" (see ressource_posix.cpp). */
    .section .rodata
    .balign 8
    .globl geokern_GR3DF97A_debut
    .hidden geokern_GR3DF97A_debut
    .globl geokern_GR3DF97A_fin
    .hidden geokern_GR3DF97A_fin
geokern_GR3DF97A_debut:
    .incbin GR3DF97A_BIN
geokern_GR3DF97A_fin:
    .section .note.GNU-stack,"",@progbits
