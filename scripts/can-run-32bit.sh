#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit x86 Linux programs, which 32-bit
# Wine needs: assembles a tiny static i386 program that only exits and
# runs it. Some kernels refuse them (no 32-bit system-call layer).
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%s\n' '.globl _start' '_start:' 'movl $1, %eax' 'xorl %ebx, %ebx' 'int $0x80' >"$work/exit.s"
as --32 -o "$work/exit.o" "$work/exit.s" && ld -m elf_i386 -o "$work/exit" "$work/exit.o" &&
  "$work/exit" 2>/dev/null
