// Stands in for the program the shell opens a document or web address
// with: it appends what it was asked to open to opened.log beside itself,
// so a test can see what patchcfg.exe asked the shell for.
#include <cstdio>
#include <cstring>

#include <windows.h>

int main(int argc, char **argv)
{
    char log[MAX_PATH];
    GetModuleFileNameA(nullptr, log, sizeof log);
    strcpy(strrchr(log, '\\') + 1, "opened.log");
    FILE *file = fopen(log, "ab");
    if (!file)
        return 1;
    fprintf(file, "%s\n", argc > 1 ? argv[1] : "");
    fclose(file);
    return 0;
}
