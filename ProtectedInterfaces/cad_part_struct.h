/// \file
/// cad_part_struct: the fixed 316-byte part record handed to the site's user-exit library.
#ifndef CAD_PART_STRUCT_H
#define CAD_PART_STRUCT_H

#include <cstddef>
#include <cstdint>

// Byte-packed, narrow zero-terminated UTF-8 texts at fixed offsets; a text with its terminator must
// fit its field.
#pragma pack(push, 1)
/// The fixed 316-byte part record handed to the site's user-exit library.
struct cad_part_struct
{
    std::int32_t reserved;    ///< the host's own; this library never reads or writes it
    char object_id[80];       ///< cadId
    char server_type[80];     ///< busType
    char file_name[133];      ///< fileName
    char server_version[19];  ///< qxVersion
};
#pragma pack(pop)

static_assert(sizeof(cad_part_struct) == 316, "cad_part_struct is 316 bytes");
static_assert(offsetof(cad_part_struct, reserved) == 0, "leading field at offset 0");
static_assert(offsetof(cad_part_struct, object_id) == 4, "object identifier at offset 4");
static_assert(offsetof(cad_part_struct, server_type) == 84, "server type at offset 84");
static_assert(offsetof(cad_part_struct, file_name) == 164, "file name at offset 164");
static_assert(offsetof(cad_part_struct, server_version) == 297, "server version at offset 297");

#endif
