// A site's user-exit library for the tests. Each entry point appends a line to the file named by
// QORVI_SITE_LOG (its name, the part's texts read up to their zero as a site reads them, its other
// argument), hands back QORVI_SITE_MESSAGE where it can, throws when QORVI_SITE_THROW names it, and
// answers QORVI_SITE_ANSWER (0 when unset). Built with QORVI_SITE_SPARSE it exports
// "UE_CheckoutPartPre" only.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "cad_part_struct.h"

namespace {

int Entry(const char* name, const cad_part_struct* part, const std::string& text, char** message)
{
    const char* path = std::getenv("QORVI_SITE_LOG");
    if (FILE* log = path != nullptr ? std::fopen(path, "a") : nullptr) {
        std::fprintf(log, "%s|", name);
        if (part != nullptr)
            std::fprintf(log, "%s|%s|%s|%s|", part->object_id, part->server_type, part->file_name,
                         part->server_version);
        std::fprintf(log, "%s\n", text.c_str());
        std::fclose(log);
    }
    const char* wanted = std::getenv("QORVI_SITE_MESSAGE");
    const char* throwIn = std::getenv("QORVI_SITE_THROW");
    const char* answer = std::getenv("QORVI_SITE_ANSWER");
    static char handedBack[256];
    if (message != nullptr && wanted != nullptr)
        *message = std::strncpy(handedBack, wanted, sizeof handedBack - 1);
    if (throwIn != nullptr && std::strcmp(throwIn, name) == 0)
        throw std::runtime_error(name);
    return answer != nullptr ? std::atoi(answer) : 0;
}

} // namespace

#define ENTRY(name, parameters, part, text, message)                                              \
    extern "C" int name parameters { return Entry(#name, part, text, message); }
#define PART_ENTRY(name) ENTRY(name, (cad_part_struct * p, char** m), p, "", m)

PART_ENTRY(UE_CheckoutPartPre)
#ifndef QORVI_SITE_SPARSE
// Leaves texts of its own in the slots it gets, as a site may.
extern "C" int Init(char** name, char** version, char** compatibleVersion)
{
    static char own[] = "own";
    const std::string line = std::string(*name) + "|" + *version + "|" + *compatibleVersion;
    *name = *version = *compatibleVersion = own;
    return Entry("Init", nullptr, line, nullptr);
}
ENTRY(UE_ConnectPre, (char** m), nullptr, "", m)
ENTRY(UE_ConnectPost, (), nullptr, "", nullptr)
ENTRY(UE_CheckinDialogPre, (char** m), nullptr, "", m)
ENTRY(UE_OpenPartPre, (cad_part_struct * p, char* t, char** m), p, t, m)
ENTRY(UE_ModifyLockPartPre, (cad_part_struct * p, int v, char** m), p, std::to_string(v), m)
ENTRY(UE_ModifyLockPartPost, (cad_part_struct * p, int v, char** m), p, std::to_string(v), m)
PART_ENTRY(UE_CheckinFileUploadStart) PART_ENTRY(UE_CheckinPartCreatePre)
PART_ENTRY(UE_CheckinPartPost) PART_ENTRY(UE_CheckoutPartPost) PART_ENTRY(UE_OpenPartPost)
PART_ENTRY(UE_UpdateAttributesInLedgraPre) PART_ENTRY(UE_UpdateAttributesInLedgraPost)
PART_ENTRY(UE_UpdateAttributesInCadPre) PART_ENTRY(UE_UpdateAttributesInCadPost)
#endif
