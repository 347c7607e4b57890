// SPDX-License-Identifier: GPL-3.0-or-later
// Landing pads for the program's three entries from outside: the entry point, which the
// dynamic loader jumps to, and the DT_INIT and DT_FINI functions, which it calls through
// pointers. Their code is the C library's start files (Scrt1.o, crti.o, crtn.o), which
// Debian 12 builds without indirect-branch tracking: no ENDBR64 at those entries and no
// IBT/SHSTK marks, so the linker would leave the whole program unmarked, however its own code
// is compiled (-fcf-protection). With these pads as the entries (app/CMakeLists.txt: -e, -init,
// -fini) every indirect branch into the start files lands on an ENDBR64 here and goes on by a
// direct jump, and the program is marked (-z ibt, -z shstk) truthfully: the start files' own
// code only calls and returns, as a shadow stack needs.
asm(R"(
        .text
        .globl  mirthkey_entry, mirthkey_init, mirthkey_fini
        .hidden mirthkey_entry, mirthkey_init, mirthkey_fini

        .type   mirthkey_entry, @function
mirthkey_entry:
        endbr64
        jmp     _start
        .size   mirthkey_entry, . - mirthkey_entry

        .type   mirthkey_init, @function
mirthkey_init:
        endbr64
        jmp     _init
        .size   mirthkey_init, . - mirthkey_init

        .type   mirthkey_fini, @function
mirthkey_fini:
        endbr64
        jmp     _fini
        .size   mirthkey_fini, . - mirthkey_fini
)");
