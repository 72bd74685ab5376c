"""Files that the service writes where others write too: each appears whole or not at all."""

import errno
import os
import secrets
import stat
import tempfile


def replace_file(path, data):
    """Writes data (bytes) to path through a new temporary file in the same folder.

    The temporary file gets a fresh name and is created exclusively, so that nothing planted in
    the folder (a link, a file of a guessed name) is followed or overwritten; the final rename
    replaces a link at path itself, never its target.
    """
    folder, name = os.path.split(path)
    handle, temporary = tempfile.mkstemp(prefix=".%s." % name, suffix=".tmp", dir=folder or ".")
    try:
        with os.fdopen(handle, "wb") as stream:
            stream.write(data)
        os.replace(temporary, path)
    except BaseException:
        try:
            os.remove(temporary)
        except OSError:
            pass
        raise
    return path


def place_files(folder, files):
    """Writes files, (plain file name, writer) pairs, into folder: every writer(stream) fills a new
    temporary file of the folder first, and only when all are complete are they renamed to their
    names. A failure before that removes the temporary files and leaves the folder as it was.

    Names are taken inside the folder opened once, so a link planted under a name is replaced,
    never followed, and nothing is written elsewhere.
    """
    folder_fd = os.open(folder, os.O_RDONLY | os.O_DIRECTORY | os.O_CLOEXEC)
    staged = []
    renamed = 0
    try:
        for name, writer in files:
            if name in ("", ".", "..") or "/" in name or "\0" in name:
                raise ValueError("'%s' is not a plain file name" % name)
            try:
                if stat.S_ISDIR(os.lstat(name, dir_fd=folder_fd).st_mode):
                    raise IsADirectoryError(errno.EISDIR, "a folder has this name", name)
            except FileNotFoundError:
                pass
            temporary = ".okt-%s.tmp" % secrets.token_hex(8)
            descriptor = os.open(temporary, os.O_WRONLY | os.O_CREAT | os.O_EXCL | os.O_NOFOLLOW
                                 | os.O_CLOEXEC, 0o666, dir_fd=folder_fd)
            staged.append((temporary, name))
            with os.fdopen(descriptor, "wb") as stream:
                writer(stream)
        for temporary, name in staged:
            os.replace(temporary, name, src_dir_fd=folder_fd, dst_dir_fd=folder_fd)
            renamed += 1
    finally:
        for temporary, _name in staged[renamed:]:
            try:
                os.remove(temporary, dir_fd=folder_fd)
            except OSError:
                pass
        os.close(folder_fd)
