// Stands in for the program the shell opens a document or web address
// with: it appends what it was asked to open to the file named by
// GRAVLOK_OPEN_LOG (inherited from the test through patchcfg.exe), so a
// test can see what patchcfg.exe asked the shell for.
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    const char *log = getenv("GRAVLOK_OPEN_LOG");
    if (!log)
        return 1;
    FILE *file = fopen(log, "ab");
    if (!file)
        return 1;
    fprintf(file, "%s\n", argc > 1 ? argv[1] : "");
    fclose(file);
    return 0;
}
