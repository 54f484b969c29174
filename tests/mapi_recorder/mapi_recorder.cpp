// A stand-in for "mapi32.dll" that records what MAPISendMail was given, for the feedback tests.
// It writes "name=value" lines (\, CR and LF escaped) to the file named by TINTORA_MAPI_RECORD,
// and copies each attachment, while it still exists, to that name plus ".attachment".
#include <windows.h>
#include <mapi.h>

#include <cstdio>
#include <string>

namespace {

std::string Escaped(const char* text)
{
    if (!text)
        return "(null)";
    std::string out;
    for (const char* p = text; *p; ++p) {
        switch (*p) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += *p;
            break;
        }
    }
    return out;
}

void Line(FILE* out, const char* name, const std::string& value)
{
    fprintf(out, "%s=%s\n", name, value.c_str());
}

void Line(FILE* out, const char* name, unsigned long value)
{
    fprintf(out, "%s=%lu\n", name, value);
}

std::string Pointer(const void* p)
{
    return p ? "set" : "(null)";
}

bool CopyAttachment(const char* path, const std::string& copy)
{
    return path && CopyFileA(path, copy.c_str(), FALSE);
}

}  // namespace

extern "C" __declspec(dllexport) ULONG WINAPI
    MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message, FLAGS flags, ULONG reserved)
{
    char recordPath[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TINTORA_MAPI_RECORD", recordPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return MAPI_E_FAILURE;
    FILE* out = fopen(recordPath, "wb");
    if (!out)
        return MAPI_E_FAILURE;

    Line(out, "session", static_cast<unsigned long>(session));
    Line(out, "uiparam", static_cast<unsigned long>(uiParam));
    Line(out, "flags", static_cast<unsigned long>(flags));
    Line(out, "reserved", static_cast<unsigned long>(reserved));
    if (message) {
        Line(out, "message.reserved", message->ulReserved);
        Line(out, "subject", Escaped(message->lpszSubject));
        Line(out, "body", Escaped(message->lpszNoteText));
        Line(out, "messagetype", Escaped(message->lpszMessageType));
        Line(out, "date", Escaped(message->lpszDateReceived));
        Line(out, "conversation", Escaped(message->lpszConversationID));
        Line(out, "message.flags", message->flFlags);
        Line(out, "originator", Pointer(message->lpOriginator));
        Line(out, "recipients", message->nRecipCount);
        for (ULONG i = 0; i < message->nRecipCount && message->lpRecips; ++i) {
            const MapiRecipDesc& r = message->lpRecips[i];
            Line(out, "recipient.class", r.ulRecipClass);
            Line(out, "recipient.name", Escaped(r.lpszName));
            Line(out, "recipient.address", Escaped(r.lpszAddress));
            Line(out, "recipient.eidsize", r.ulEIDSize);
            Line(out, "recipient.entryid", Pointer(r.lpEntryID));
        }
        Line(out, "files", message->nFileCount);
        for (ULONG i = 0; i < message->nFileCount && message->lpFiles; ++i) {
            const MapiFileDesc& f = message->lpFiles[i];
            Line(out, "file.flags", f.flFlags);
            Line(out, "file.position", f.nPosition);
            Line(out, "file.path", Escaped(f.lpszPathName));
            Line(out, "file.name", Escaped(f.lpszFileName));
            Line(out, "file.type", Pointer(f.lpFileType));
            std::string copy = std::string(recordPath) + ".attachment";
            Line(out, "file.copied", CopyAttachment(f.lpszPathName, copy) ? 1ul : 0ul);
        }
    }
    fclose(out);
    return SUCCESS_SUCCESS;
}
