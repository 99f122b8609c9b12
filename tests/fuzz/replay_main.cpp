// Runs a fuzz target over files and folders of inputs, without libFuzzer: the
// seed corpus becomes an ordinary test of the sanitizer build.
#include <dirent.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static uint8_t input[1 << 20];

static int RunFile(const char *path)
{
    FILE *f = fopen(path, "rb");
    if (!f) {
        fprintf(stderr, "replay: cannot open %s\n", path);
        return 0;
    }
    size_t size = fread(input, 1, sizeof input, f);
    fclose(f);
    LLVMFuzzerTestOneInput(input, size);
    return 1;
}

static int RunPath(const char *path)
{
    struct stat st;
    if (stat(path, &st) != 0) {
        fprintf(stderr, "replay: %s does not exist\n", path);
        return -1;
    }
    if (!S_ISDIR(st.st_mode))
        return RunFile(path);
    DIR *dir = opendir(path);
    if (!dir)
        return -1;
    int count = 0;
    while (struct dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        char child[4096];
        int n = snprintf(child, sizeof child, "%s/%s", path, entry->d_name);
        if (n > 0 && static_cast<size_t>(n) < sizeof child)
            count += RunFile(child);
    }
    closedir(dir);
    return count;
}

int main(int argc, char **argv)
{
    int total = 0;
    for (int i = 1; i < argc; ++i) {
        int n = RunPath(argv[i]);
        if (n < 0)
            return 1;
        total += n;
    }
    printf("replay: %d inputs passed\n", total);
    // An empty corpus proves nothing.
    return total > 0 ? 0 : 1;
}
