// Copies of whole folder trees.
#ifndef QORVI_HOST_DVKFILETREE_H
#define QORVI_HOST_DVKFILETREE_H

#include <string>

namespace dvk {

// Copies everything inside folder from (sub-folders too; symbolic links as links) into folder to,
// which is created when missing; files already in to are replaced. False when from is not a
// folder, when to lies inside from, or when anything could not be copied.
bool CopyFolderContent(const std::string& from, const std::string& to);

} // namespace dvk

#endif
