// What a new file takes from the old one it replaces, so that the
// replacement changes nobody's access: owner and group, extended attributes
// (access-control lists among them) and permission bits.
#ifndef VRELSDIFF_SDIFF_FILE_ATTRIBUTES_H_
#define VRELSDIFF_SDIFF_FILE_ATTRIBUTES_H_

#include <sys/stat.h>

namespace sdiff {

// Gives the file open as `fd` the owner and group of `old`. False when the
// process may not, as for another user's file or a group it is not in.
bool take_owner(int fd, const struct stat& old);

// Gives the file open as `fd` exactly the extended attributes of the file
// open as `old_fd`, then the permission bits of `old`. False when any of
// them cannot be read, set or removed, or the old file's attributes cannot
// be listed; a file system without extended attributes has none to copy.
// Comes after the content is written, since a write drops some of them.
bool take_attributes_and_mode(int old_fd, int fd, const struct stat& old);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_FILE_ATTRIBUTES_H_
