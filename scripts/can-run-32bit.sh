#!/usr/bin/env bash
# Answers (exit code) whether this host can execute 32-bit x86 programs at all;
# some hypervisors switch IA-32 emulation off, and then no 32-bit Wine runs.
set -u
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$dir/p.s"
as --32 -o "$dir/p.o" "$dir/p.s" 2>/dev/null && ld -m elf_i386 -o "$dir/p" "$dir/p.o" 2>/dev/null || exit 1
"$dir/p" 2>/dev/null
[ $? -eq 42 ]
