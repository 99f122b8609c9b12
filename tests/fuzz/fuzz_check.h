// What every fuzz target shares: a failed property stops the run with a
// message, so libFuzzer keeps the input as a crash.
#ifndef AMPWATCH_FUZZ_CHECK_H
#define AMPWATCH_FUZZ_CHECK_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define FUZZ_CHECK(condition)                                                           \
    do {                                                                                \
        if (!(condition)) {                                                             \
            fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            abort();                                                                    \
        }                                                                               \
    } while (0)

// Reads the input front to back; past its end every read answers zeros.
struct FuzzBytes {
    const uint8_t *data;
    size_t size;
    size_t at;
};

inline uint8_t TakeByte(FuzzBytes *in)
{
    return in->at < in->size ? in->data[in->at++] : uint8_t{0};
}

inline uint32_t TakeU32(FuzzBytes *in)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t{TakeByte(in)} << (8 * i);
    return v;
}

inline int32_t TakeI32(FuzzBytes *in)
{
    uint32_t v = TakeU32(in);
    int32_t s;
    memcpy(&s, &v, sizeof s);
    return s;
}

// The unread rest of the input, cut to capacity - 1 bytes, as a C string in
// out; nothing is consumed.
inline void PeekRest(const FuzzBytes *in, char *out, size_t capacity)
{
    const size_t left = in->size - in->at;
    const size_t n = left < capacity - 1 ? left : capacity - 1;
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<char>(in->data[in->at + i]);
    out[n] = '\0';
}

#endif
