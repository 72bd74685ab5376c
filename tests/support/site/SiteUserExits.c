/* A site's user-exit library for the tests. Every entry point appends one line to the file named
 * by QORVI_SITE_LOG and answers as the environment asks:
 *   QORVI_SITE_ANSWER          the answer of every entry point (0 when unset)
 *   QORVI_SITE_MESSAGE         a message handed back by every entry point that can
 *   QORVI_SITE_THROW           the name of the entry point that throws instead of answering
 *   QORVI_SITE_INIT_OWN_TEXTS  "Init" stores texts of its own in the three slots it receives
 * Built with QORVI_SITE_SPARSE it exports "UE_CheckoutPartPre" only. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The part record as a site declares it: 316 bytes, packed. */
#pragma pack(push, 1)
typedef struct
{
    int reserved;
    char object_id[80];
    char server_type[80];
    char file_name[133];
    char server_version[19];
} site_part;
#pragma pack(pop)

typedef char site_part_is_316_bytes[sizeof(site_part) == 316 ? 1 : -1];

void SiteThrow(const char* entry);

static void Record(const char* entry, const site_part* part, const char* extra)
{
    const char* path = getenv("QORVI_SITE_LOG");
    FILE* file = path != NULL ? fopen(path, "a") : NULL;
    if (file == NULL)
        return;
    fprintf(file, "%s|", entry);
    /* Read as zero-terminated texts, the way a site library reads them. */
    if (part != NULL)
        fprintf(file, "%s|%s|%s|%s|", part->object_id, part->server_type, part->file_name,
                part->server_version);
    fprintf(file, "%s\n", extra);
    fclose(file);
}

static int Answer(const char* entry, char** message)
{
    static char text[256];
    const char* wanted = getenv("QORVI_SITE_MESSAGE");
    const char* throwIn = getenv("QORVI_SITE_THROW");
    const char* answer = getenv("QORVI_SITE_ANSWER");
    if (message != NULL && wanted != NULL) {
        snprintf(text, sizeof text, "%s", wanted);
        *message = text;
    }
    if (throwIn != NULL && strcmp(throwIn, entry) == 0)
        SiteThrow(entry);
    return answer != NULL ? atoi(answer) : 0;
}

#define PART_HOOK(name)                                                                           \
    int name(site_part* part, char** message)                                                     \
    {                                                                                             \
        Record(#name, part, "");                                                                  \
        return Answer(#name, message);                                                            \
    }

PART_HOOK(UE_CheckoutPartPre)

#ifndef QORVI_SITE_SPARSE

int Init(char** name, char** version, char** compatibleVersion)
{
    static char ownTexts[3][16] = {"site name", "site version", "site server"};
    char line[512];
    snprintf(line, sizeof line, "%s|%s|%s", *name, *version, *compatibleVersion);
    Record("Init", NULL, line);
    if (getenv("QORVI_SITE_INIT_OWN_TEXTS") != NULL) {
        *name = ownTexts[0];
        *version = ownTexts[1];
        *compatibleVersion = ownTexts[2];
    }
    return Answer("Init", NULL);
}

int UE_ConnectPre(char** message)
{
    Record("UE_ConnectPre", NULL, "");
    return Answer("UE_ConnectPre", message);
}

int UE_ConnectPost(void)
{
    Record("UE_ConnectPost", NULL, "");
    return Answer("UE_ConnectPost", NULL);
}

int UE_CheckinDialogPre(char** message)
{
    Record("UE_CheckinDialogPre", NULL, "");
    return Answer("UE_CheckinDialogPre", message);
}

int UE_OpenPartPre(site_part* part, char* text, char** message)
{
    Record("UE_OpenPartPre", part, text != NULL ? text : "(null)");
    return Answer("UE_OpenPartPre", message);
}

static int LockHook(const char* entry, site_part* part, int value, char** message)
{
    char number[16];
    snprintf(number, sizeof number, "%d", value);
    Record(entry, part, number);
    return Answer(entry, message);
}

int UE_ModifyLockPartPre(site_part* part, int value, char** message)
{
    return LockHook("UE_ModifyLockPartPre", part, value, message);
}

int UE_ModifyLockPartPost(site_part* part, int value, char** message)
{
    return LockHook("UE_ModifyLockPartPost", part, value, message);
}

PART_HOOK(UE_CheckinFileUploadStart)
PART_HOOK(UE_CheckinPartCreatePre)
PART_HOOK(UE_CheckinPartPost)
PART_HOOK(UE_CheckoutPartPost)
PART_HOOK(UE_OpenPartPost)
PART_HOOK(UE_UpdateAttributesInLedgraPre)
PART_HOOK(UE_UpdateAttributesInLedgraPost)
PART_HOOK(UE_UpdateAttributesInCadPre)
PART_HOOK(UE_UpdateAttributesInCadPost)

#endif
