// A failed property aborts with its line, so libFuzzer keeps the input.
#ifndef AMPWATCH_FUZZ_CHECK_H
#define AMPWATCH_FUZZ_CHECK_H
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#define FUZZ_CHECK(c) \
    ((c) ? (void)0 : (fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #c), abort()))
#endif
