#!/usr/bin/env bash
# Succeeds when this machine can run 32-bit x86 programs (so Wine's 32-bit
# loader can run the i686 release); otherwise prints why on one line and
# fails. Decided by running a tiny static i386 program made on the spot with
# binutils: the kernel's configuration alone may say yes to a feature that a
# boot option or a container turned off.
set -uo pipefail

if ! command -v as >/dev/null || ! command -v ld >/dev/null; then
    echo "no assembler and linker (binutils) to build a 32-bit test program"
    exit 1
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# _start: exit(0) through the 32-bit system call gate.
printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
if ! as --32 -o "$dir/exit.o" "$dir/exit.s" 2>/dev/null ||
    ! ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" 2>/dev/null; then
    echo "binutils cannot build a 32-bit x86 program here"
    exit 1
fi
if ! output=$("$dir/exit" 2>&1); then
    echo "the kernel runs no 32-bit programs (${output:-exit status $?})"
    exit 1
fi
exit 0
