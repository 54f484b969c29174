// Asks a running Tintora to show itself or to close, the way a second start or another program does.
//   tintora_remote show|close
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "core/product.h"

int main(int argc, char** argv)
{
    if (argc != 2 || (strcmp(argv[1], "show") != 0 && strcmp(argv[1], "close") != 0)) {
        fprintf(stderr, "usage: tintora_remote show|close\n");
        return 2;
    }
    UINT message = RegisterWindowMessageA(INSTANCE_MESSAGE_NAME);
    WPARAM request = strcmp(argv[1], "close") == 0 ? 1 : 0;
    DWORD_PTR result;
    SendMessageTimeoutA(HWND_BROADCAST, message, request, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return 0;
}
