/* Replaces the external movie player "projit.exe", which the program cannot
   ship: it reads "VB2DCR.txt" beside itself, writes what it read to
   "projit.log" beside it (one "read: <line>" per line, then "done"), and
   exits. The media pane's tests and the sample installation run it. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

int main(void) {
    char folder[MAX_PATH], path[MAX_PATH], log[MAX_PATH], line[2048];
    DWORD n = GetModuleFileNameA(NULL, folder, sizeof folder);
    if (n == 0 || n >= sizeof folder)
        return 2;
    char* slash = strrchr(folder, '\\');
    if (slash)
        *slash = 0;
    if (snprintf(path, sizeof path, "%s\\VB2DCR.txt", folder) >= (int)sizeof path ||
        snprintf(log, sizeof log, "%s\\projit.log", folder) >= (int)sizeof log)
        return 2;
    FILE* out = fopen(log, "ab");
    if (!out)
        return 3;
    FILE* in = fopen(path, "rb");
    if (!in) {
        fputs("missing VB2DCR.txt\r\n", out);
        fclose(out);
        return 1;
    }
    while (fgets(line, sizeof line, in)) {
        size_t len = strlen(line);
        while (len && (line[len - 1] == '\n' || line[len - 1] == '\r'))
            line[--len] = 0;
        fprintf(out, "read: %s\r\n", line);
    }
    fputs("done\r\n", out);
    fclose(in);
    fclose(out);
    return 0;
}
