#include "core/messages.h"

#include <cstdio>

#include "core/product.h"

void LoadMessageText(HINSTANCE instance, UINT id, char* text)
{
    if (LoadStringA(instance, id, text, MESSAGE_TEXT_SIZE) == 0)
        snprintf(text, MESSAGE_TEXT_SIZE, "Cannot load message string %i.", static_cast<int>(id));
}

int ShowStringMessage(HINSTANCE instance, HWND owner, UINT id, UINT iconStyle)
{
    char text[MESSAGE_TEXT_SIZE];
    LoadMessageText(instance, id, text);
    return MessageBoxA(owner, text, PRODUCT_TITLE, MB_OK | iconStyle);
}

int ShowErrorMessage(HINSTANCE instance, HWND owner, UINT id)
{
    return ShowStringMessage(instance, owner, id, MB_ICONERROR);
}

int ShowWarningMessage(HINSTANCE instance, HWND owner, UINT id)
{
    return ShowStringMessage(instance, owner, id, MB_ICONEXCLAMATION);
}
