// A fuzz target over seed files without libFuzzer, each in a buffer of its exact size.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        FILE *f = fopen(argv[i], "rb");
        if (!f)
            return fprintf(stderr, "replay: cannot read %s\n", argv[i]), 1;
        uint8_t *data = static_cast<uint8_t *>(malloc(1 << 16));
        const size_t size = data ? fread(data, 1, 1 << 16, f) : 0;
        fclose(f);
        data = static_cast<uint8_t *>(realloc(data, size ? size : 1));
        LLVMFuzzerTestOneInput(data, size);
        free(data);
    }
    return argc > 1 ? 0 : 1;  // no seeds prove nothing
}
